#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "app/startup.h"
#include "platform/command_numbers.h"
#include "platform/headless/headless_platform.h"
#include "platform/toolkit.h"
#include "support/support.h"

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

// Each failure shows its alert and ends the process with status 0, having started nothing.
TEST_F(Startup, EachFailureShowsItsAlertAndEndsTheProcessWithStatusZero) {
  for (const bool handler : {true, false}) {
    EXPECT_EQ(
        ExitStatusOf([handler] {
          headless::Platform platform;
          platform.hotkeys.RefuseHandler(handler);
          platform.host.SetSupported(handler);
          if (RunApplication() != 0 || platform.requesters.Alerts().size() != 1) return 1;
          const AlertRequest& alert = platform.requesters.Alerts()[0];
          const std::string text =
              handler ? "Failed to install handler."
                      : platform.host.Requirement() + "\n\nThis app will now quit.";
          const bool shown = alert.title == (handler ? "Fatal Error!" : "Error!") &&
                             alert.text == text && alert.buttons.empty() &&
                             alert.icon == (handler ? AlertIcon::Application : AlertIcon::Stop);
          // The observer comes after the handler and before the host check, which leaves it.
          const bool quiet = !platform.host.IsAccessory() && !platform.toolkit.Status().present &&
                             platform.toolkit.AppearanceObserved() == !handler;
          return shown && quiet ? 0 : 2;
        }),
        0)
        << (handler ? "a refused hot-key handler" : "an unsupported host");
  }
}

}  // namespace
