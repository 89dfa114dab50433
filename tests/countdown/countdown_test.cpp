#include <signal.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "capture/capture_engine.h"
#include "capture/countdown_window.h"
#include "countdown/countdown_fixture.h"
#include "platform/command_numbers.h"
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
  void PushSeconds(Texts& seen, int count) {
    for (int second = 1; second <= count; ++second) PushTickThen([&] { seen.push_back(Seen()); });
  }
};

TEST_F(Countdown, ShowsThreeTwoOneZeroThenTheToolRunsAndNothingIsLeft) {
  ASSERT_EQ(Settings.TimerSeconds, 3);
  Texts seen;
  PushLook([&] { seen.push_back(Seen()); });
  PushSeconds(seen, 3);
  PushLook([] {});
  RunCapture(CaptureEntireScreen);

  EXPECT_EQ(seen, (Texts{"3", "2", "1", "0"}));
  EXPECT_EQ(ToolRuns(), 1);
  EXPECT_EQ(platform.toolkit.PendingEventCount(), 1u) << "the tool ran at once after the 0";
  EXPECT_FALSE(WindowExists(CountdownWindow));
  EXPECT_TRUE(platform.toolkit.RunningTimers().empty());
  EXPECT_EQ(FontHandle(CountdownFont), nullptr);
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
      EXPECT_TRUE(plate->floating);
      EXPECT_EQ(platform.toolkit.ActiveWindow(), CountdownWindow) << "Escape must reach it";
      EXPECT_EQ(platform.toolkit.LookOf(CountdownWindow).background, c.plate);
      EXPECT_DOUBLE_EQ(platform.toolkit.LookOf(CountdownWindow).opacity, c.opacity);
      EXPECT_EQ(platform.toolkit.FindGadget(CountdownLabel)->color, c.digits);
    });
    platform.toolkit.PressKey(Escape());
    EXPECT_FALSE(RunCountdown(5));
  }
}

TEST_F(Countdown, EscapeCancelsAtOnceAndStopsTheTimer) {
  PushTickThen([] {});
  platform.toolkit.PressKey(Escape());
  PushLook([] {});
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(ToolRuns(), 0);
  EXPECT_FALSE(WindowExists(CountdownWindow));
  EXPECT_TRUE(platform.toolkit.RunningTimers().empty());
  EXPECT_EQ(platform.toolkit.PendingEventCount(), 1u) << "Escape ended the wait at once";
}

TEST_F(Countdown, AnEndLeftByAnEarlierCountdownDoesNotEndThisOne) {
  QueueEvent(CountdownFinishedEvent, 0, 0, 0, PostCustom);
  Texts seen;
  PushSeconds(seen, 3);
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(seen, (Texts{"2", "1", "0"}));
  EXPECT_EQ(ToolRuns(), 1);
}

TEST_F(Countdown, EventsOfOtherWindowsWaitForTheEndAndHotkeysAreDropped) {
  NewWindow(PreferencesWindow, 0, 0, 400, 300, "Preferences", WindowCloseButton);
  NewCheckboxGadget(16, 10, 10, 100, 20, "Sound");
  platform.toolkit.ClickGadget(16);
  platform.toolkit.PressCloseButton(PreferencesWindow);
  platform.toolkit.PushSystemEvent(
      [] { QueueEvent(HotkeyEvent1, 0, HotkeyWindow, 0, PostCustom); });
  for (int second = 1; second <= 3; ++second) PushTickThen([] {});
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(ToolRuns(), 1) << "the other window's events neither end nor cancel the count";

  ASSERT_EQ(NextEvent(0), GadgetEvent);
  EXPECT_EQ(EventNumber(), 16);
  ASSERT_EQ(NextEvent(0), CloseWindowEvent);
  EXPECT_EQ(NextEvent(0), 0) << "the hot key was dropped";
}

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
