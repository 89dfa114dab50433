#include <signal.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "capture/capture_engine.h"
#include "capture/display_picker.h"
#include "countdown/countdown_fixture.h"
#include "platform/command_numbers.h"
#include "settings/settings_record.h"

namespace {

using Words = std::vector<std::string>;

// Two displays side by side, no timer: an entire-screen capture asks for the display first.
class DisplayPicker : public CountdownTest {
 protected:
  DisplayPicker() {
    platform.toolkit.SetDisplays({{0, 0, 1280, 800}, {1280, 0, 1280, 800}});
    Settings.TimerSeconds = 0;
  }
  // Moves the picker as a person drags it.
  void DragPicker(int x, int y) { platform.toolkit.DragWindow(PickerWindow, x, y); }
  std::string Path() const { return Settings.DirPath + "vs_cap_full_2024-04-05-023015.png"; }
};

TEST_F(DisplayPicker, MovedOntoTheSecondDisplayTheButtonSaysOneAndTheToolGetsDisplayTwo) {
  std::vector<std::string> titles;
  PushLook([&] {
    const headless::Window* picker = platform.toolkit.FindWindow(PickerWindow);
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(picker->visible);
    EXPECT_TRUE(picker->floating);
    EXPECT_EQ(picker->flags & WindowCloseButton, WindowCloseButton);
    EXPECT_EQ(picker->frame.x, (1280 - 320) / 2) << "centred on the main display";
    EXPECT_EQ(picker->frame.width, 320);
    EXPECT_EQ(picker->frame.height, 80);
    EXPECT_EQ(picker->title, "");
    EXPECT_EQ(platform.toolkit.ActiveWindow(), PickerWindow);
    ASSERT_EQ(picker->gadgets.size(), 2u);
    const headless::Gadget* hint = picker->gadgets.front();
    EXPECT_EQ(hint->text, "Drag this window to the screen to capture.");
    EXPECT_EQ(hint->flags & TextCentred, TextCentred);
    ASSERT_NE(hint->font, nullptr);
    EXPECT_EQ(hint->font->size, 12);
    titles.push_back(TextOf(PickerButton));
  });
  DragPicker(1500, 300);
  PushLook([&] { titles.push_back(TextOf(PickerButton)); });
  DragPicker(100, 700);
  PushLook([&] { titles.push_back(TextOf(PickerButton)); });
  DragPicker(1280 + 900, 500);
  PushLook([&] { titles.push_back(TextOf(PickerButton)); });
  platform.toolkit.ClickGadget(PickerButton);
  RunCapture(CaptureEntireScreen);

  EXPECT_EQ(titles, (Words{"Capture Display #0", "Capture Display #1", "Capture Display #0",
                           "Capture Display #1"}));
  EXPECT_EQ(ToolWords(), (Words{"-t", "png", "-D2", Path()}));
  EXPECT_EQ(DisplayOption, " -D2");
  EXPECT_FALSE(WindowExists(PickerWindow));
  EXPECT_EQ(FontHandle(PickerFont), nullptr);
  EXPECT_TRUE(platform.toolkit.RunningTimers().empty());
}

TEST_F(DisplayPicker, ReturnPressesTheButton) {
  platform.toolkit.PressKey(Return());
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(ToolWords(), (Words{"-t", "png", "-D1", Path()}));
}

TEST_F(DisplayPicker, EscapeOrTheCloseBoxCancelsTheCapture) {
  for (const bool escape : {true, false}) {
    SCOPED_TRACE(escape ? "Escape" : "close box");
    DisplayOption = " -D2";
    if (escape) {
      platform.toolkit.PressKey(Escape());
    } else {
      platform.toolkit.PressCloseButton(PickerWindow);
    }
    PushLook([] {});
    RunCapture(CaptureEntireScreen);
    EXPECT_EQ(ToolRuns(), 0);
    EXPECT_EQ(DisplayOption, "");
    EXPECT_FALSE(WindowExists(PickerWindow));
    EXPECT_EQ(platform.toolkit.PendingEventCount(), 1u) << "the picker closed at once";
    platform.toolkit.HandlePendingEvents();
  }
}

TEST_F(DisplayPicker, APickerOffEveryDisplayStandsForTheNearestOne) {
  // The top-left corner past the left edge of the first display, then below the second.
  DragPicker(-200, 300);
  PushLook([&] { EXPECT_EQ(TextOf(PickerButton), "Capture Display #0"); });
  platform.toolkit.ClickGadget(PickerButton);
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(DisplayOption, " -D1");

  DragPicker(2000, 900);
  PushLook([&] { EXPECT_EQ(TextOf(PickerButton), "Capture Display #1"); });
  platform.toolkit.ClickGadget(PickerButton);
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(DisplayOption, " -D2");
  EXPECT_EQ(ToolRuns(), 2);
}

TEST_F(DisplayPicker, AnotherWindowsClickOrCloseNeitherConfirmsNorCancels) {
  NewWindow(PreferencesWindow, 0, 0, 400, 300, "Preferences", WindowCloseButton);
  NewCheckboxGadget(16, 10, 10, 100, 20, "Sound");
  platform.toolkit.ClickGadget(16);
  platform.toolkit.PressCloseButton(PreferencesWindow);
  platform.toolkit.PushSystemEvent(
      [] { QueueEvent(HotkeyEvent1, 0, HotkeyWindow, 0, PostCustom); });
  PushLook([&] {
    EXPECT_TRUE(WindowExists(PickerWindow));
    EXPECT_EQ(ToolRuns(), 0);
  });
  DragPicker(1300, 10);
  platform.toolkit.ClickGadget(PickerButton);
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(ToolRuns(), 1);
  EXPECT_EQ(DisplayOption, " -D2");

  ASSERT_EQ(NextEvent(0), GadgetEvent) << "kept for the Preferences window";
  EXPECT_EQ(EventNumber(), 16);
  ASSERT_EQ(NextEvent(0), CloseWindowEvent);
  EXPECT_EQ(EventWindowNumber(), PreferencesWindow);
  EXPECT_EQ(NextEvent(0), 0) << "the hot key was dropped";
}

TEST_F(DisplayPicker, ThenTheCountdownRunsOnThePointersDisplay) {
  Settings.TimerSeconds = 3;
  platform.toolkit.SetPointer({1800, 300});
  DragPicker(1500, 300);
  platform.toolkit.ClickGadget(PickerButton);
  PushLook([&] {
    EXPECT_FALSE(WindowExists(PickerWindow));
    const headless::Window* plate = platform.toolkit.FindWindow(2);
    ASSERT_NE(plate, nullptr);
    EXPECT_EQ(plate->frame.x, 1280 + (1280 - 220) / 2);
  });
  for (int second = 1; second <= 3; ++second) PushTickThen([] {});
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(ToolWords(), (Words{"-t", "png", "-D2", Path()}));
}

}  // namespace

namespace {

TEST_F(DisplayPicker, ATerminationRequestCancelsTheChoiceAndReachesTheMainLoop) {
  platform.toolkit.PushSystemEvent([] { kill(getpid(), SIGTERM); });
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(ToolRuns(), 0);
  EXPECT_EQ(DisplayOption, "");
  EXPECT_FALSE(WindowExists(PickerWindow));
  ASSERT_EQ(NextEvent(0), MenuEvent) << "the quit is left for the main loop";
  EXPECT_EQ(EventNumber(), QuitMenuNumber);
}

}  // namespace
