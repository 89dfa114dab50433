#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "platform/process.h"
#include "support/scratch_folder.h"

namespace {

// The parent process id that /proc reports for `pid`.
pid_t ParentOf(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("PPid:", 0) == 0) return std::stoi(line.substr(5));
  }
  return -1;
}

// Waits for a file the detached program writes (bounded, so that a fault fails, not hangs).
std::string AwaitFile(const std::string& path) {
  for (int i = 0; i < 500; ++i) {
    const std::string text = ReadWholeFile(path);
    if (!text.empty() && text.back() == '\n') return text;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return {};
}

TEST(DetachedStartTest, ReturnsAtOnceAndLeavesNoChildBehind) {
  ScratchFolder folder;
  const std::string pidFile = folder.Path() + "pid";
  const std::string script = folder.WriteFile(
      "long-runner", "#!/bin/sh\necho $$ > \"$1.tmp\"; mv \"$1.tmp\" \"$1\"; exec sleep 600\n",
      0755);
  const ProcessHandle handle = StartProcessWords(script, {pidFile + "\n"}, "", 0);
  ASSERT_TRUE(handle) << "a detached start gives its mark";
  EXPECT_EQ(handle.record, nullptr) << "and keeps no record";
  ReleaseProcess(handle);

  const std::string pidText = AwaitFile(pidFile + "\n");
  ASSERT_FALSE(pidText.empty()) << "the program ran";
  const pid_t runner = std::stoi(pidText);
  EXPECT_NE(ParentOf(runner), getpid()) << "the program belongs to the system";
  errno = 0;
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "no child of ours is left, not even a zombie";
  EXPECT_EQ(errno, ECHILD);
  kill(runner, SIGKILL);
}

TEST(DetachedStartTest, PassesItsWordsAndFolder) {
  ScratchFolder folder;
  const std::string script = folder.WriteFile(
      "record", "#!/bin/sh\n{ pwd; printf '%s\\n' \"$@\"; } > out.tmp; mv out.tmp out\n", 0755);
  ASSERT_TRUE(StartProcess(script, "\"/home/u1/My Shots/\" second", folder.Path(), 0));
  ASSERT_FALSE(AwaitFile(folder.Path() + "out").empty());
  EXPECT_EQ(ReadLines(folder.Path() + "out"),
            (std::vector<std::string>{folder.Path().substr(0, folder.Path().size() - 1),
                                      "/home/u1/My Shots/", "second"}));
}

}  // namespace
