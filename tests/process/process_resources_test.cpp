#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include <string>

#include "platform/process.h"

namespace {

int CountEntries(const char* folder) {
  DIR* dir = opendir(folder);
  if (dir == nullptr) return -1;
  int count = 0;
  while (readdir(dir) != nullptr) ++count;
  closedir(dir);
  return count;
}

TEST(ProcessResourcesTest, AThousandAttachedRunsLeaveNoDescriptorsOrThreads) {
  auto run = [](int i) {
    const ProcessHandle handle =
        StartProcess("/bin/echo", "run " + std::to_string(i), "", ProcessKeep | ProcessReadOutput);
    ASSERT_TRUE(handle);
    std::string last;
    while (ProcessActive(handle)) {
      if (PendingProcessOutput(handle) > 0) {
        last = ReadProcessLine(handle);
      } else {
        WaitProcessOutput(handle);
      }
    }
    ReleaseProcess(handle);
    ASSERT_EQ(last, "run " + std::to_string(i));
  };
  // A sanitizer starts a thread of its own with the first thread the program makes.
  run(0);
  const int descriptors = CountEntries("/proc/self/fd");
  const int threads = CountEntries("/proc/self/task");
  for (int i = 1; i < 1000; ++i) run(i);
  EXPECT_EQ(CountEntries("/proc/self/fd"), descriptors);
  EXPECT_EQ(CountEntries("/proc/self/task"), threads);
}

TEST(ProcessResourcesTest, AProgramReleasedWhileRunningIsStillReaped) {
  const int descriptors = CountEntries("/proc/self/fd");
  const ProcessHandle handle = StartProcess("/bin/sh", "-c \"echo $$; exec sleep 0.3\"", "",
                                            ProcessKeep | ProcessReadOutput);
  ASSERT_TRUE(handle);
  const std::string pid = ReadProcessLine(handle);
  ASSERT_FALSE(pid.empty());
  EXPECT_TRUE(ProcessActive(handle));
  ReleaseProcess(handle);
  EXPECT_EQ(CountEntries("/proc/self/fd"), descriptors);
  // A zombie keeps its /proc entry; the entry goes once the waiter has reaped the program.
  const std::string entry = "/proc/" + pid;
  for (int i = 0; i < 500 && access(entry.c_str(), F_OK) == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_NE(access(entry.c_str(), F_OK), 0);
}

}  // namespace
