#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "app/startup.h"
#include "platform/command_numbers.h"
#include "platform/headless/headless_platform.h"
#include "platform/toolkit.h"
#include "support/temporary_home.h"

namespace {

// The exit status of `body` run in a child process: how the program really ends.
int ExitStatusOf(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) std::_Exit(body());
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A whole start-up reads and writes the settings file; the real user's must stay untouched.
class Startup : public ::testing::Test {
 protected:
  TemporaryHome home;
};

TEST_F(Startup, TheLoopReadsOnPastCommandsThatDoNothingYetUntilQuit) {
  for (const std::int64_t quit : {ItemQuit, QuitMenuNumber}) {
    headless::Platform platform;
    platform.toolkit.PushSystemEvent([] {
      for (const std::int64_t item : {ItemAppAbout, std::int64_t{-1}, std::int64_t{0}, ItemAbout,
                                      ItemGiveFeedback, ItemContactMe, std::int64_t{10}}) {
        QueueEvent(MenuEvent, item, 0, 0, PostNoCoalesce);
      }
      QueueEvent(CloseWindowEvent, CountdownWindow, CountdownWindow, 0, 0);
      QueueEvent(GadgetEvent, 40, PickerWindow, SubtypeClick, 0);
      QueueEvent(CountdownFinishedEvent, 0, 0, 0, PostCustom);
      QueueEvent(AppearanceChangedEvent, 0, 0, 0, PostCustom);
    });
    platform.toolkit.PushSystemEvent([quit] { QueueEvent(MenuEvent, quit, 0, 0, 0); });
    EXPECT_EQ(RunApplication(), 0);
    EXPECT_EQ(platform.toolkit.PendingEventCount(), 0u) << "the loop read on until " << quit;
    EXPECT_TRUE(platform.host.IsAccessory());
    EXPECT_TRUE(platform.hotkeys.HandlerInstalled());
    EXPECT_TRUE(platform.requesters.Alerts().empty());
    EXPECT_FALSE(platform.toolkit.AppearanceObserved()) << "the observer is removed at quit";
    EXPECT_FALSE(platform.toolkit.Status().present);
  }
}

TEST_F(Startup, EachFailureShowsItsAlertAndEndsTheProcessWithStatusZero) {
  struct Case {
    void (*fail)(headless::Platform&);
    const char* title;
    AlertIcon icon;
  };
  for (const Case& c : {Case{[](headless::Platform& p) { p.hotkeys.RefuseHandler(true); },
                             "Fatal Error!", AlertIcon::Application},
                        Case{[](headless::Platform& p) { p.host.SetSupported(false); }, "Error!",
                             AlertIcon::Stop}}) {
    SCOPED_TRACE(c.title);
    {
      headless::Platform platform;
      c.fail(platform);
      EXPECT_EQ(RunApplication(), 0);
      ASSERT_EQ(platform.requesters.Alerts().size(), 1u);
      const AlertRequest& alert = platform.requesters.Alerts()[0];
      EXPECT_EQ(alert.title, c.title);
      EXPECT_EQ(alert.text, c.icon == AlertIcon::Stop
                                ? platform.host.Requirement() + "\n\nThis app will now quit."
                                : std::string("Failed to install handler."));
      EXPECT_EQ(alert.icon, c.icon);
      EXPECT_TRUE(alert.buttons.empty());
      EXPECT_FALSE(platform.host.IsAccessory());
      // The observer comes after the handler and before the host check, and that path leaves it.
      EXPECT_EQ(platform.toolkit.AppearanceObserved(), c.icon == AlertIcon::Stop);
      EXPECT_FALSE(platform.toolkit.Status().present);
    }
    EXPECT_EQ(ExitStatusOf([&c] {
                headless::Platform platform;
                c.fail(platform);
                return RunApplication();
              }),
              0);
  }
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

}  // namespace
