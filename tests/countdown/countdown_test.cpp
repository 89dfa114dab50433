#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <vector>

#include "capture/capture_engine.h"
#include "capture/capture_fixture.h"
#include "capture/countdown_window.h"
#include "capture/display_geometry.h"
#include "capture/display_picker.h"
#include "platform/command_numbers.h"
#include "platform/headless/headless_platform.h"
#include "settings/settings_record.h"

namespace {

// First-run settings on one display: a 3-second countdown before an entire-screen capture.
class Countdown : public CaptureTest {
 protected:
  // What the plate shows, and whether the tool has run yet.
  std::string Seen() const {
    return TextOf(CountdownLabel) + (ToolRuns() == 0 ? "" : " after the capture");
  }
  bool Gone() const {
    return !WindowExists(CountdownWindow) && desk.RunningTimers().empty() &&
           FontHandle(CountdownFont) == nullptr;
  }
  std::int64_t TextColour() const { return desk.FindGadget(CountdownLabel)->color; }
};

TEST_F(Countdown, ShowsThreeTwoOneZeroThenTheToolRunsAtOnceAndNothingIsLeft) {
  Words seen;
  desk.SetDark(true);
  PushLook([&] {
    seen.push_back(Seen());
    // A dark desktop gets a light plate with dark digits (0xBBGGRR); the e2e run checks where.
    EXPECT_EQ(desk.LookOf(CountdownWindow).background, 0xFFFFFF);
    EXPECT_EQ(TextColour(), 0);
    EXPECT_EQ(desk.ActiveWindow(), CountdownWindow) << "Escape must reach it";
  });
  for (int second = 1; second <= 3; ++second) PushTick([&] { seen.push_back(Seen()); });
  PushLook([] {});
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(seen, (Words{"3", "2", "1", "0"}));
  EXPECT_EQ(ToolWords(), (Words{"-t", "png", Shot(documents, "full")}));
  EXPECT_EQ(desk.PendingEventCount(), 1u) << "the tool ran at once after the 0";
  EXPECT_TRUE(Gone());
}

TEST_F(Countdown, EscapeCancelsAtOnceAndAnEarlierCountsEndDoesNotEndThisOne) {
  PushTick([this] { EXPECT_EQ(desk.LookOf(CountdownWindow).background, 0) << "a dark plate"; });
  desk.PressKey(Key(53, 0x1b));
  PushLook([] {});
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(ToolRuns(), 0);
  EXPECT_TRUE(Gone());
  EXPECT_EQ(desk.PendingEventCount(), 1u) << "Escape ended the wait at once";
  desk.HandlePendingEvents();

  QueueEvent(CountdownFinishedEvent, 0, 0, 0, PostCustom);
  Words seen;
  for (int second = 1; second <= 3; ++second) PushTick([&] { seen.push_back(Seen()); });
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(seen, (Words{"2", "1", "0"}));
  EXPECT_EQ(ToolRuns(), 1);
}

// Two displays side by side and no timer: an entire-screen capture asks for the display first.
class DisplayPicker : public CaptureTest {
 protected:
  DisplayPicker() {
    desk.SetDisplays({{0, 0, 1280, 800}, {1280, 0, 1280, 800}});
    Settings.TimerSeconds = 0;
  }
  void Drag(int x, int y) { desk.DragWindow(PickerWindow, x, y); }
  void Confirm() { desk.ClickGadget(PickerButton); }
  bool Gone() const {
    return !WindowExists(PickerWindow) && FontHandle(PickerFont) == nullptr &&
           desk.RunningTimers().empty();
  }
};

TEST_F(DisplayPicker, TheButtonFollowsTheWindowAndTheToolGetsTheChosenDisplay) {
  Words titles;
  PushLook([&] {
    const headless::Window* picker = desk.FindWindow(PickerWindow);
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(picker->visible && picker->floating && (picker->flags & WindowCloseButton));
    EXPECT_EQ(desk.ActiveWindow(), PickerWindow) << "for Escape and Return";
    EXPECT_EQ(picker->gadgets.front()->text, "Drag this window to the screen to capture.");
    EXPECT_EQ(picker->gadgets.front()->font->size, 12);
    titles.push_back(TextOf(PickerButton));
  });
  // Onto the second display, back, past the bottom edge, then past the left edge.
  for (const Point corner :
       {Point{1500, 300}, Point{100, 700}, Point{2000, 900}, Point{-200, 300}, Point{2180, 500}}) {
    Drag(corner.x, corner.y);
    PushLook([&] { titles.push_back(TextOf(PickerButton)); });
  }
  Confirm();
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(titles, (Words{"Capture Display #0", "Capture Display #1", "Capture Display #0",
                           "Capture Display #1", "Capture Display #0", "Capture Display #1"}));
  EXPECT_EQ(ToolWords(), (Words{"-t", "png", "-D2", Shot(documents, "full")}));
  EXPECT_EQ(DisplayOption, " -D2");
  EXPECT_TRUE(Gone());

  // Return presses the button; one display later asks nothing and keeps the last choice.
  desk.PressKey(Key(36, u'\r'));
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(ToolWords().at(2), "-D1");
  desk.SetDisplays({{0, 0, 1280, 800}});
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(ToolWords().at(2), "-D1");
}

TEST_F(DisplayPicker, EscapeOrTheCloseBoxCancelsTheCaptureAndTheChoice) {
  for (const bool escape : {true, false}) {
    SCOPED_TRACE(escape ? "Escape" : "close box");
    DisplayOption = " -D2";
    escape ? desk.PressKey(Key(53, 0x1b)) : desk.PressCloseButton(PickerWindow);
    PushLook([] {});
    RunCapture(CaptureEntireScreen);
    EXPECT_EQ(ToolRuns(), 0);
    EXPECT_EQ(DisplayOption, "");
    EXPECT_TRUE(Gone());
    EXPECT_EQ(desk.PendingEventCount(), 1u) << "the picker closed at once";
    desk.HandlePendingEvents();
  }
}

// While the countdown or the picker waits, another window's events wait for its end, hot keys
// are dropped, and a request to quit ends the wait and is left for the main loop.
TEST_F(DisplayPicker, OtherEventsWaitDroppedOrEndTheWaitForTheMainLoop) {
  for (const bool picker : {true, false}) {
    SCOPED_TRACE(picker ? "picker" : "countdown");
    if (!picker) desk.SetDisplays({{0, 0, 1280, 800}});
    Settings.TimerSeconds = picker ? 0 : 3;
    NewWindow(PreferencesWindow, 0, 0, 400, 300, "Preferences", WindowCloseButton);
    NewCheckboxGadget(16, 10, 10, 100, 20, "Sound");
    desk.ClickGadget(16);
    desk.PressCloseButton(PreferencesWindow);
    const int runs = ToolRuns();
    PushLook([] { QueueEvent(HotkeyEvent1, 0, HotkeyWindow, 0, PostCustom); });
    PushLook([this, runs] { EXPECT_EQ(ToolRuns(), runs) << "neither confirmed nor ended"; });
    if (picker) {
      Drag(1300, 10);
      Confirm();
    } else {
      for (int second = 1; second <= 3; ++second) PushTick();
    }
    RunCapture(CaptureEntireScreen);
    EXPECT_EQ(ToolRuns(), runs + 1);
    ASSERT_EQ(NextEvent(0), GadgetEvent) << "kept for the Preferences window";
    EXPECT_EQ(EventNumber(), 16);
    ASSERT_EQ(NextEvent(0), CloseWindowEvent);
    EXPECT_EQ(NextEvent(0), 0) << "the hot key was dropped";

    PushTick();
    PushLook([] { kill(getpid(), SIGTERM); });
    RunCapture(CaptureEntireScreen);
    EXPECT_EQ(ToolRuns(), runs + 1);
    EXPECT_FALSE(WindowExists(PickerWindow) || WindowExists(CountdownWindow));
    ASSERT_EQ(NextEvent(0), MenuEvent) << "the quit is left for the main loop";
    EXPECT_EQ(EventNumber(), QuitMenuNumber);
    desk.HandlePendingEvents();
    DestroyWindow(PreferencesWindow);
  }
  EXPECT_EQ(DisplayOption, "") << "a cancelled choice";
}

using Displays = std::vector<DisplayRect>;

// The main display, and a taller one to its right that starts above it.
const Displays SideBySide{{0, 0, 1280, 800}, {1280, -200, 1080, 1920}};

TEST(DisplayGeometry, WhichDisplayHoldsAPointEdgesIncluded) {
  const struct {
    Point point;
    int pointer, underWindow, nearest;
    const char* why;
  } cases[] = {
      {{640, 400}, 0, 0, 0, "inside the first"},
      {{1500, -150}, 1, 1, 1, "inside the second"},
      {{1280, 10}, 1, 0, 0, "a shared edge: the last for the pointer, else the first"},
      {{2360, 1720}, 1, 1, 1, "the far corner"},
      {{0, 0}, 0, 0, 0, "the near corner"},
      {{640, 801}, 0, -1, 0, "just below the first"},
      {{-300, 400}, 0, -1, 0, "left of everything"},
      {{1200, 1000}, 0, -1, 1, "80 right beats 200 down"},
      {{1200, 850}, 0, -1, 0, "50 down beats 80 right"},
      {{5000, -5000}, 0, -1, 1, "far out"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PointerDisplayIndex(SideBySide, c.point), c.pointer) << c.why;
    EXPECT_EQ(DisplayUnderWindow(SideBySide, c.point), c.underWindow) << c.why;
    EXPECT_EQ(NearestDisplayIndex(SideBySide, c.point), c.nearest) << c.why;
  }
  EXPECT_EQ(PointerDisplayIndex({}, {0, 0}), -1);
  EXPECT_EQ(DisplayUnderWindow(Displays{}, {0, 0}), -1);
  EXPECT_EQ(NearestDisplayIndex({}, {0, 0}), -1);
}

}  // namespace
