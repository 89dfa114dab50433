#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLockFile>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/command_server.h"
#include "platform/key_codes.h"
#include "platform/single_instance.h"
#include "program/program_fixture.h"
#include "shortcuts/hotkey_list.h"

namespace {

TEST_F(ProgramTest, TheCaptureFolderMayLackItsSlashOrBeMissingForAWhile) {
  UseTool(": > \"$out\"");
  const std::string pictures = temporary.home.string() + "/Pics";
  std::filesystem::create_directories(pictures);
  Start("DirPath=" + pictures + "\n");
  RunCapture(CaptureSelection);
  EXPECT_TRUE(Settings.LastSavePath.starts_with(pictures + "/vs_cap_area_"))
      << Settings.LastSavePath;

  const std::string drive = temporary.root.string() + "unplugged/";
  Start("DirPath=" + drive + "\n");
  // Back while the capture runs: the picture still went to Documents, and the user is told.
  UseTool("mkdir -p '" + drive + "'; : > \"$out\"");
  Shown().clear();
  RunCapture(CaptureSelection);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(temporary.home.string() + "/Documents/" + Shown()[0].body,
            Settings.LastSavePath + "\nThe folder unplugged is missing; saved in Documents");
  RunCapture(CaptureSelection);
  EXPECT_EQ(Shown().back().body, Settings.LastSavePath.substr(drive.size()));
}

TEST_F(ProgramTest, ALockDelaysAWriteOnlyWhileALiveWriterHoldsIt) {
  Start();
  // Left by this machine under its former name: the holder's number is a live process's.
  WriteWholeFile(temporary.SettingsFile().string() + ".lock",
                 std::to_string(getpid()) + "\n\nrenamed-machine\n");
  auto started = std::chrono::steady_clock::now();
  WriteSetting("Timer", 3);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
  EXPECT_EQ(Stored("Timer"), "3");

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
  started = std::chrono::steady_clock::now();
  WriteSetting("Timer", 2);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1))
      << "the loop is not held up";
  // (Read as text: a reader through the store would wait for the lock too.)
  EXPECT_NE(ReadWholeFile(temporary.SettingsFile().string()).find("Timer=3\n"), std::string::npos)
      << "not written while the other holds the file";
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  WriteSetting("FileFormat", 2);
  EXPECT_EQ(Stored("Timer"), "2") << "kept for the next write";
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

// A key grabbed for the whole desktop without a real modifier would be taken from every
// program's typing: only function keys may go without one.
TEST_F(ProgramTest, HotKeysNeedAModifierBesideShiftUnlessTheyAreFunctionKeys) {
  Start("MenuIcon=4\n");
  EXPECT_EQ(platform.toolkit.Status().image, ImageHandle(FirstLightIconImage + 1))
      << "a menu icon that does not exist shows the first-run design";
  for (const auto& [text, registers] : {std::pair{"A", false},
                                        {"⇧A", false},
                                        {"⇧⎋", false},
                                        {"F10", true},
                                        {"⇧F13", true},
                                        {"⌥A", true},
                                        {"⇧⌘4", true}}) {
    EXPECT_EQ(RegisterHotkey(text, HotkeyEvent1), registers) << text;
  }
}

TEST(SingleInstance, EveryNameOfOneDisplayIsOneLockInAFolderOfOurOwn) {
  for (const char* same : {":203", ":203.0", "unix:203", "unix:203.1"}) {
    EXPECT_EQ(CanonicalDisplay(same), ":203") << same;
  }
  EXPECT_EQ(CanonicalDisplay("remote:10.0"), "remote:10");
  ScratchFolder runtime;
  chmod(runtime.Path().c_str(), 0700);
  ScopedEnvironment variable("XDG_RUNTIME_DIR", runtime.Path());
  ScopedEnvironment display("DISPLAY", ":203");
  {
    const SingleInstanceLock first;
    ASSERT_EQ(first.Status(), SingleInstanceLock::State::Held);
    EXPECT_EQ(first.Where(), runtime.Path() + "vantorshot-:203.lock");
    EXPECT_EQ(first.SocketPath(), runtime.Path() + "vantorshot-:203.socket");
    for (const char* same : {":203.0", "unix:203"}) {
      display.Set(same);
      EXPECT_EQ(SingleInstanceLock().Status(), SingleInstanceLock::State::HeldElsewhere) << same;
    }
    display.Set(":204");
    EXPECT_EQ(SingleInstanceLock().Status(), SingleInstanceLock::State::Held);
  }

  chmod(runtime.Path().c_str(), 0777);
  display.Set(":205");
  const std::string own = "/tmp/vantorshot-" + std::to_string(getuid());
  EXPECT_EQ(SingleInstanceLock().Where().rfind(own + "/", 0), 0u)
      << "a runtime folder others can write is passed over";
  variable.Unset();
  struct stat info {};
  ASSERT_EQ(stat(own.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  if (getuid() == 0) {
    // Someone else took the folder first: no lock, and no copy runs unguarded.
    ASSERT_EQ(chown(own.c_str(), 65534, 65534), 0);
    EXPECT_EQ(SingleInstanceLock().Status(), SingleInstanceLock::State::Unavailable);
    ASSERT_EQ(chown(own.c_str(), 0, 0), 0);
  }
}

bool Readable(int fd, int timeoutMs) {
  pollfd ready{fd, POLLIN, 0};
  return poll(&ready, 1, timeoutMs) == 1;
}

// With no descriptor left to accept a waiting client with, the server neither spins on its
// readable listener nor forgets the client: it serves it once descriptors are free again.
TEST(CommandServer, RunningOutOfDescriptorsRestsTheListenerAndThenServesTheWaitingClient) {
  ScratchFolder folder;
  const std::string path = folder.Path() + "commands";
  std::string why;
  ASSERT_TRUE(StartCommandServer(path, why)) << why;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, path.c_str());
  const int client = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(write(client, "nonsense\n", 9), 9);

  rlimit limits{};
  getrlimit(RLIMIT_NOFILE, &limits);
  const int lowestFree = dup(client);
  close(lowestFree);
  rlimit exhausted = limits;
  exhausted.rlim_cur = static_cast<rlim_t>(lowestFree);
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &exhausted), 0);
  ASSERT_TRUE(Readable(CommandServerDescriptor(), 0));
  ServeCommands();
  const bool stillReadable = Readable(CommandServerDescriptor(), 0);
  setrlimit(RLIMIT_NOFILE, &limits);
  EXPECT_FALSE(stillReadable) << "the wait would wake at once, again and again";

  ASSERT_TRUE(Readable(CommandServerDescriptor(), 2000));
  ServeCommands();
  ASSERT_TRUE(Readable(client, 2000));
  char answer[64];
  const ssize_t got = read(client, answer, sizeof answer);
  EXPECT_EQ(std::string(answer, got > 0 ? static_cast<std::size_t>(got) : 0),
            "error unknown command\n");
  close(client);
  StopCommandServer();
}

}  // namespace
