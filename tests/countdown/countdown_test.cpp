#include <signal.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/command_table.h"
#include "capture/capture_engine.h"
#include "capture/countdown_window.h"
#include "capture/display_choice.h"
#include "countdown/countdown_fixture.h"
#include "platform/termination_request.h"
#include "settings/settings_record.h"

namespace {

using Texts = std::vector<std::string>;

// First-run settings: one display, a 3-second timer.
class Countdown : public CountdownTest {
 protected:
  // What the plate shows, and whether the tool has run yet.
  std::string Seen() const {
    return TextOf(CountdownLabel) + (ToolRuns() == 0 ? "" : " after the capture");
  }
};

TEST_F(Countdown, ThreeShowsThreeTwoOneZeroAndTheToolStartsAfterTheTickShowingZero) {
  ASSERT_EQ(Settings.TimerSeconds, 3);
  Texts seen;
  PushLook([&] { seen.push_back(Seen()); });
  for (int second = 1; second <= 3; ++second) PushTickThen([&] { seen.push_back(Seen()); });
  PushLook([] {});
  RunCapture(CaptureEntireScreen);

  EXPECT_EQ(seen, (Texts{"3", "2", "1", "0"}));
  EXPECT_EQ(ToolRuns(), 1);
  EXPECT_EQ(platform.toolkit.PendingEventCount(), 1u) << "the tool ran at once after the 0";
  EXPECT_FALSE(WindowExists(CountdownWindow));
  EXPECT_TRUE(platform.toolkit.RunningTimers().empty()) << "the timer stopped itself";
  EXPECT_TRUE(TimerTable.empty());
  EXPECT_EQ(FontHandle(CountdownFont), nullptr);
  EXPECT_FALSE(CountdownCancelled);
}

TEST_F(Countdown, ThePlateIsCentredOnThePointersDisplayInTheAppearancesColours) {
  platform.toolkit.SetDisplays({{0, 0, 1280, 800}, {1280, -100, 1921, 1080}});
  platform.toolkit.SetPointer({2000, 500});
  struct Case {
    bool dark;
    std::int64_t plate, digits;
    double opacity;
  };
  for (const Case& c :
       {Case{true, 0xFFFFFF, 0x000000, 0.8}, Case{false, 0x000000, 0xFFFFFF, 0.7}}) {
    SCOPED_TRACE(c.dark ? "dark" : "light");
    platform.toolkit.SetDark(c.dark);
    PushLook([&] {
      const headless::Window* plate = platform.toolkit.FindWindow(CountdownWindow);
      ASSERT_NE(plate, nullptr);
      EXPECT_EQ(plate->frame.x, 1280 + (1921 - 220) / 2);
      EXPECT_EQ(plate->frame.y, -100 + (1080 - 190) / 2);
      EXPECT_EQ(plate->frame.width, 220);
      EXPECT_EQ(plate->frame.height, 190);
      EXPECT_TRUE(plate->visible);
      EXPECT_TRUE(plate->floating);
      EXPECT_EQ(plate->flags & WindowBorderless, WindowBorderless);
      EXPECT_EQ(platform.toolkit.ActiveWindow(), CountdownWindow) << "Escape must reach it";
      const auto look = platform.toolkit.LookOf(CountdownWindow);
      EXPECT_EQ(look.background, c.plate);
      EXPECT_EQ(look.cornerRadius, 12);
      EXPECT_DOUBLE_EQ(look.opacity, c.opacity);

      const headless::Gadget* digits = platform.toolkit.FindGadget(CountdownLabel);
      ASSERT_NE(digits, nullptr);
      EXPECT_EQ(digits->window, plate);
      EXPECT_EQ(digits->color, c.digits);
      ASSERT_NE(digits->font, nullptr);
      EXPECT_EQ(digits->font->size, 72);
      EXPECT_EQ(digits->flags & TextCentred, TextCentred);
      EXPECT_EQ(digits->frame.x, 0);
      EXPECT_EQ(digits->frame.y, 0);
      EXPECT_EQ(digits->frame.width, 220);
      EXPECT_EQ(digits->frame.height, 190);
    });
    platform.toolkit.PressKey(Escape());
    EXPECT_FALSE(RunCountdown(5));
    EXPECT_EQ(platform.toolkit.LookOf(CountdownWindow).background, -1) << "the window is gone";
  }
}

TEST_F(Countdown, EscapeCancelsAndNoToolRuns) {
  PushTickThen([] {});
  platform.toolkit.PressKey(Escape());
  PushLook([] {});
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(ToolRuns(), 0);
  EXPECT_TRUE(CountdownCancelled);
  EXPECT_FALSE(WindowExists(CountdownWindow));
  EXPECT_EQ(platform.toolkit.PendingEventCount(), 1u) << "Escape ended the wait at once";
}

TEST_F(Countdown, ALeftoverTimerOfACancelledCountdownIsRemovedByTheNext) {
  platform.toolkit.PressKey(Escape());
  RunCapture(CaptureEntireScreen);
  ASSERT_EQ(platform.toolkit.RunningTimers().size(), 1u) << "Escape leaves the timer running";
  const std::int64_t leftover = platform.toolkit.RunningTimers().front();
  // It ticks on over the closed window until the next countdown starts.
  PushTickThen([] {});
  platform.toolkit.HandlePendingEvents();
  ASSERT_EQ(platform.toolkit.RunningTimers(), std::vector<std::int64_t>{leftover});

  Texts seen;
  std::vector<std::int64_t> running;
  PushLook([&] {
    seen.push_back(Seen());
    running = platform.toolkit.RunningTimers();
  });
  for (int second = 1; second <= 3; ++second) PushTickThen([&] { seen.push_back(Seen()); });
  RunCapture(CaptureEntireScreen);

  ASSERT_EQ(running.size(), 1u);
  EXPECT_NE(running.front(), leftover);
  EXPECT_EQ(seen, (Texts{"3", "2", "1", "0"}));
  EXPECT_EQ(ToolRuns(), 1);
  EXPECT_TRUE(platform.toolkit.RunningTimers().empty());
}

TEST_F(Countdown, AnEndPostedByAnEarlierCountdownDoesNotEndThisOne) {
  // A cancelled countdown's timer ran out while the program was busy: its end is still queued.
  QueueEvent(CountdownFinishedEvent, 0, 0, 0, PostCustom);
  Texts seen;
  for (int second = 1; second <= 3; ++second) PushTickThen([&] { seen.push_back(Seen()); });
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(seen, (Texts{"2", "1", "0"}));
  EXPECT_EQ(ToolRuns(), 1);
  EXPECT_EQ(platform.toolkit.PendingEventCount(), 0u);
}

TEST_F(Countdown, EventsOfOtherWindowsWaitForTheEndAndHotkeysAreDropped) {
  NewWindow(PreferencesWindow, 0, 0, 400, 300, "Preferences", WindowCloseButton);
  NewCheckboxGadget(FirstPreferencesGadget, 10, 10, 100, 20, "Sound");
  platform.toolkit.ClickGadget(FirstPreferencesGadget);
  platform.toolkit.PressCloseButton(PreferencesWindow);
  platform.toolkit.PushSystemEvent(
      [] { QueueEvent(HotkeyEvent1, 0, HotkeyWindow, 0, PostCustom); });
  PushTickThen([] {});
  PushTickThen([] {});
  PushTickThen([] {});
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(ToolRuns(), 1) << "the other window's events neither end nor cancel the count";

  ASSERT_EQ(NextEvent(0), GadgetEvent);
  EXPECT_EQ(EventNumber(), FirstPreferencesGadget);
  EXPECT_EQ(EventWindowNumber(), PreferencesWindow);
  ASSERT_EQ(NextEvent(0), CloseWindowEvent);
  EXPECT_EQ(EventWindowNumber(), PreferencesWindow);
  EXPECT_EQ(NextEvent(0), 0) << "the hot key was dropped";
}

}  // namespace

namespace {

TEST_F(Countdown, ATerminationRequestEndsTheCountAndReachesTheMainLoop) {
  PushTickThen([] {});
  platform.toolkit.PushSystemEvent([] { kill(getpid(), SIGTERM); });
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(ToolRuns(), 0);
  EXPECT_FALSE(WindowExists(CountdownWindow));
  ASSERT_EQ(NextEvent(0), MenuEvent) << "the quit is left for the main loop";
  EXPECT_EQ(EventNumber(), QuitMenuNumber);
}

}  // namespace
