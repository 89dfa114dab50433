#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLockFile>
#include <QString>
#include <QSysInfo>

#include <chrono>
#include <filesystem>
#include <string>

#include "menu/image_slots.h"
#include "platform/toolkit.h"
#include "program/program_fixture.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"

namespace {

using Clock = std::chrono::steady_clock;

// A lock beside the settings file as QLockFile writes one: process, program, machine.
void WriteLock(const TemporaryHome& home, pid_t pid, const std::string& host) {
  WriteWholeFile(home.SettingsFile().string() + ".lock",
                 std::to_string(pid) + "\n\n" + host + "\n");
}

TEST_F(ProgramTest, ALockNoLiveWriterHoldsNeverDelaysAWrite) {
  Start();
  // Left by this machine under its former name: the holder's number is a live process's.
  WriteLock(temporary, getpid(), "renamed-machine");
  const auto started = Clock::now();
  WriteSetting("Timer", 3);
  EXPECT_LT(Clock::now() - started, std::chrono::seconds(1));
  EXPECT_EQ(Stored("Timer"), "3");
}

TEST_F(ProgramTest, AWriteWaitsForNoLiveWriterButIsKeptForLater) {
  Start();
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  if (holder == 0) {
    // Another copy of the program, in the middle of its own write.
    QLockFile lock(QString::fromStdString(temporary.SettingsFile().string() + ".lock"));
    const char held = lock.tryLock(0) ? 1 : 0;
    if (write(ready[1], &held, 1) == 1) pause();
    _exit(0);
  }
  char held = 0;
  ASSERT_EQ(read(ready[0], &held, 1), 1);
  ASSERT_EQ(held, 1);
  const auto started = Clock::now();
  WriteSetting("Timer", 3);
  EXPECT_LT(Clock::now() - started, std::chrono::seconds(1)) << "the loop is not held up";
  // (Read as text: a reader through the store would wait for the lock too.)
  EXPECT_NE(ReadWholeFile(temporary.SettingsFile().string()).find("Timer=1\n"), std::string::npos)
      << "not written while the other holds the file";
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  WriteSetting("FileFormat", 2);
  EXPECT_EQ(Stored("Timer"), "3");
  EXPECT_EQ(Stored("FileFormat"), "2");
}

TEST(SettingsFile, AFifoIsNeitherReadNorReplaced) {
  TemporaryHome temporary;
  const std::string file = temporary.SettingsFile().string();
  std::filesystem::create_directories(temporary.SettingsFile().parent_path());
  ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
  Settings = SettingsRecord{};
  OpenSettingsStore();  // would wait forever for a writer to the FIFO
  WriteSetting("Timer", 4);
  CloseSettingsStore();
  EXPECT_EQ(Settings.TimerSeconds, 3) << "first-run values in memory";
  struct stat info {};
  ASSERT_EQ(stat(file.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(ProgramTest, AMenuIconThatDoesNotExistShowsTheFirstRunDesign) {
  Start("MenuIcon=4\n");
  EXPECT_EQ(platform.toolkit.Status().image, ImageHandle(FirstLightIconImage + 1));
}

}  // namespace
