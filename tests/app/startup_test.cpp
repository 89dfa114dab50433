#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

#include "app/startup.h"
#include "platform/command_numbers.h"
#include "platform/headless/headless_platform.h"
#include "platform/toolkit.h"
#include "support/temporary_home.h"

namespace {

// Runs `body` in a child process and returns its exit status, so that a test sees how the
// program really ends.
int ExitStatusOf(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) {
    std::fflush(stdout);
    std::_Exit(body());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A whole start-up reads and writes the settings file; the real user's must stay untouched.
class Startup : public ::testing::Test {
 protected:
  TemporaryHome home;
};

TEST_F(Startup, RunsIntoTheLoopAndQuitsWithStatusZero) {
  headless::Platform platform;
  platform.toolkit.PushSystemEvent([] { QueueEvent(MenuEvent, ItemQuit, 0, 0, 0); });
  EXPECT_EQ(RunApplication(), 0);
  EXPECT_TRUE(platform.host.IsAccessory());
  EXPECT_TRUE(platform.hotkeys.HandlerInstalled());
  EXPECT_TRUE(platform.requesters.Alerts().empty());
  EXPECT_FALSE(platform.toolkit.AppearanceObserved()) << "the observer is removed at quit";
  EXPECT_FALSE(platform.toolkit.Status().present);
}

TEST_F(Startup, ARefusedHotKeyHandlerEndsWithTheFatalAlertAndStatusZero) {
  headless::Platform platform;
  platform.hotkeys.RefuseHandler(true);
  EXPECT_EQ(RunApplication(), 0);
  ASSERT_EQ(platform.requesters.Alerts().size(), 1u);
  const AlertRequest& alert = platform.requesters.Alerts()[0];
  EXPECT_EQ(alert.title, "Fatal Error!");
  EXPECT_EQ(alert.text, "Failed to install handler.");
  EXPECT_EQ(alert.icon, AlertIcon::Application);
  EXPECT_TRUE(alert.buttons.empty());
  EXPECT_FALSE(platform.toolkit.AppearanceObserved()) << "no observer was added";
  EXPECT_FALSE(platform.host.IsAccessory());
}

TEST_F(Startup, AnUnsupportedHostEndsWithTheStopAlertAndStatusZero) {
  headless::Platform platform;
  platform.host.SetSupported(false);
  EXPECT_EQ(RunApplication(), 0);
  ASSERT_EQ(platform.requesters.Alerts().size(), 1u);
  const AlertRequest& alert = platform.requesters.Alerts()[0];
  EXPECT_EQ(alert.title, "Error!");
  EXPECT_EQ(alert.text, platform.host.Requirement() + "\n\nThis app will now quit.");
  EXPECT_EQ(alert.icon, AlertIcon::Stop);
  EXPECT_TRUE(alert.buttons.empty());
  EXPECT_FALSE(platform.toolkit.Status().present);
}

TEST_F(Startup, BothFailurePathsEndTheProcessWithStatusZero) {
  EXPECT_EQ(ExitStatusOf([] {
              headless::Platform platform;
              platform.hotkeys.RefuseHandler(true);
              return RunApplication();
            }),
            0);
  EXPECT_EQ(ExitStatusOf([] {
              headless::Platform platform;
              platform.host.SetSupported(false);
              return RunApplication();
            }),
            0);
}

TEST_F(Startup, TerminationRequestRunsTheShutdownAndEndsWithStatusZero) {
  EXPECT_EQ(ExitStatusOf([] {
              headless::Platform platform;
              platform.toolkit.PushSystemEvent([] { kill(getpid(), SIGTERM); });
              const int status = RunApplication();
              // Reaching here at all means SIGTERM did not kill the process outright.
              return status == 0 && !platform.toolkit.AppearanceObserved() ? 0 : 1;
            }),
            0);
}

TEST_F(Startup, TheLoopReadsOnPastOtherCommandsUntilQuit) {
  headless::Platform platform;
  int seen = 0;
  platform.toolkit.PushSystemEvent([&seen] {
    QueueEvent(MenuEvent, ItemAppAbout, ApplicationMenuWindow, 0, 0);
    QueueEvent(CloseWindowEvent, 3, 3, 0, 0);
    QueueEvent(GadgetEvent, 40, 3, SubtypeClick, 0);
    QueueEvent(CountdownFinishedEvent, 0, 0, 0, PostCustom);
    ++seen;
  });
  platform.toolkit.PushSystemEvent([] { QueueEvent(MenuEvent, QuitMenuNumber, -1, 0, 0); });
  EXPECT_EQ(RunApplication(), 0);
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(platform.toolkit.PendingEventCount(), 0u) << "the loop read on until the quit";
}

}  // namespace
