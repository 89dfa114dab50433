#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <thread>
#include <vector>

#include "app/dispatch.h"
#include "capture/capture_engine.h"
#include "capture/countdown_window.h"
#include "capture/display_geometry.h"
#include "capture/display_picker.h"
#include "platform/command_numbers.h"
#include "platform/headless/headless_platform.h"
#include "platform/native_toolkit.h"
#include "settings/derived_values.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "support/support.h"

namespace {

namespace fs = std::filesystem;

using Words = std::vector<std::string>;

// A headless desktop and a temporary home with a first-run settings store. On PATH: a date
// program that prints a chosen stamp and records its calls, a capture tool that records its
// words one a line and creates the file it is asked for, and an opener that records its words.
class CaptureTest : public ::testing::Test {
 protected:
  CaptureTest() {
    for (const auto& [name, body] : std::map<std::string, std::string>{
             {"tool",
              "printf '%s\\n' \"$@\" > $d/tool-words; echo run >> $d/tool-runs; echo talk\n"
              "for last; do :; done; : > \"$last\""},
             {"date", "echo \"$*\" >> $d/date-calls; cat $d/stamp"},
             {"xdg-open", "printf '%s\\n' \"$@\" > $d/opened.tmp; mv $d/opened.tmp $d/opened"}}) {
      WriteWholeFile(bin + name, "#!/bin/sh\nd=$(dirname \"$0\")\n" + body + "\n", 0755);
    }
    SetStamp("2024-04-05-023015");
    Settings = SettingsRecord{};
    DisplayOption.clear();
    OpenSettingsStore();
  }
  ~CaptureTest() override { CloseSettingsStore(); }

  // The words of the tool's latest run; empty when it has not run.
  Words ToolWords() const { return ReadLines(bin + "tool-words"); }
  int ToolRuns() const { return static_cast<int>(ReadLines(bin + "tool-runs").size()); }
  Words DateCalls() const { return ReadLines(bin + "date-calls"); }
  // The opener's words, awaited: it runs detached.
  Words OpenerWords() const {
    for (int i = 0; i < 500 && ReadLines(bin + "opened").empty(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return ReadLines(bin + "opened");
  }
  void SetStamp(const std::string& stamp) { WriteWholeFile(bin + "stamp", stamp + "\n"); }
  // The path of a capture of `kind` ("full", "window", "area") with the first stamp.
  static std::string Shot(const std::string& folder, const char* kind, const char* ext = ".png") {
    return folder + "vs_cap_" + kind + "_2024-04-05-023015" + ext;
  }

  // The desktop's script, one system event each: `look` runs as a person looks at the screen;
  // a tick first lets a second pass on every running timer.
  void PushLook(std::function<void()> look) { platform.toolkit.PushSystemEvent(std::move(look)); }
  void PushTick(std::function<void()> look = [] {}) {
    PushLook([this, look] {
      for (std::int64_t timer : platform.toolkit.RunningTimers()) TimerFired(timer);
      look();
    });
  }
  // A gadget's text as a person reads it, or "(none)".
  std::string TextOf(std::int64_t gadget) const {
    const headless::Gadget* g = platform.toolkit.FindGadget(gadget);
    return g == nullptr ? "(none)" : g->text;
  }
  // Whether the little window, its font and every timer are gone.
  bool Gone(std::int64_t window, std::int64_t font) const {
    return !WindowExists(window) && !FontHandle(font) && desk.RunningTimers().empty();
  }
  static KeyPress Key(std::uint16_t keyCode, char16_t character) {
    return KeyPress{KeyEventType::KeyDown, -1, 0, keyCode, std::u16string(1, character)};
  }

  TemporaryHome temporary;
  std::string documents = temporary.scratch.MakeFolder("home/Documents");
  std::string bin = temporary.scratch.MakeFolder("bin");
  headless::Platform platform;
  headless::Toolkit& desk = platform.toolkit;
  ScopedEnvironment path{"PATH", bin + ":/usr/bin:/bin"};
  ScopedEnvironment tool{"VANTORSHOT_CAPTURE_TOOL", bin + "tool"};
  ScopedEnvironment date{"VANTORSHOT_DATE_PROGRAM", bin + "date"};
};

using CaptureEngine = CaptureTest;

TEST_F(CaptureEngine, EachKindPutsTheOptionWordsItUsesInTheirPlaceThenTheFile) {
  Settings.DirPath = documents;
  Settings.TimerSeconds = 0;
  DisplayOption = " -D1";
  const struct {
    std::int8_t kind;
    bool options;
    Words words;
    const char* name;
  } cases[] = {
      {CaptureEntireScreen, true, {"-t", "png", "-D1", "-x", "-C", "-P", "-c"}, "full"},
      {CaptureWindow, true, {"-W", "-t", "png", "-o", "-x", "-P", "-c"}, "window"},
      {CaptureSelection, true, {"-s", "-t", "png", "-x", "-c", "-P"}, "area"},
      {7, true, {"-s", "-t", "png", "-x", "-c", "-P"}, "area"},  // any other kind selects
      {CaptureEntireScreen, false, {"-t", "png", "-D1"}, "full"},
      {CaptureWindow, false, {"-W", "-t", "png"}, "window"},
      {CaptureSelection, false, {"-s", "-t", "png"}, "area"},
  };
  for (const auto& c : cases) {
    for (const SwitchWord& s : SwitchTable) Settings.*s.option = c.options ? s.word : "";
    RunCapture(c.kind);
    Words expected = c.words;
    expected.push_back(Shot(documents, c.name));
    EXPECT_EQ(ToolWords(), expected) << int{c.kind} << c.options;
    EXPECT_EQ(Settings.LastSavePath, expected.back());
    fs::remove(expected.back());
  }
  // Two displays and a long timer: a picker or countdown would wait for events never pushed.
  desk.SetDisplays({{0, 0, 1280, 800}, {1280, 0, 1920, 1080}});
  Settings.TimerSeconds = 15;
  Settings.FormatOption = "-t tiff";
  Settings.FileExtension = ".tiff";
  RunCapture(CaptureWindow);
  EXPECT_EQ(ToolWords(), (Words{"-W", "-t", "tiff", Shot(documents, "window", ".tiff")}));
  RunCapture(CaptureSelection);
  EXPECT_EQ(ToolWords(), (Words{"-s", "-t", "tiff", Shot(documents, "area", ".tiff")}));
  EXPECT_EQ(DisplayOption, " -D1");
}

TEST_F(CaptureEngine, MenuItemsAndHotKeysRunTheirCommands) {
  Settings.DirPath = documents;
  Settings.TimerSeconds = 0;
  const std::pair<CommandRequest, const char*> cases[] = {
      {CommandForMenuItem(ItemCaptureEntireScreen), "-t"},
      {CommandForMenuItem(ItemCaptureWindow), "-W"},
      {CommandForMenuItem(ItemCaptureSelection), "-s"},
      {CommandForEvent(HotkeyEvent1, HotkeyWindow, HotkeyWindow, HotkeyWindow), "-t"},
      {CommandForEvent(HotkeyEvent2, HotkeyWindow, HotkeyWindow, HotkeyWindow), "-W"},
      {CommandForEvent(HotkeyEvent3, HotkeyWindow, HotkeyWindow, HotkeyWindow), "-s"}};
  for (const auto& [request, first] : cases) {
    EXPECT_TRUE(RunCommand(request));
    EXPECT_EQ(ToolWords().front(), first);
  }
  EXPECT_EQ(ToolRuns(), 6);
  for (const CommandRequest& open : {CommandForMenuItem(ItemOpenCaptureLocation),
                                     CommandForEvent(HotkeyEvent4, 0, HotkeyWindow, 0)}) {
    fs::remove(bin + "opened");
    Settings.DirPath = temporary.scratch.MakeFolder("My \"Best\" Shots");
    EXPECT_TRUE(RunCommand(open));
    EXPECT_EQ(OpenerWords(), Words{Settings.DirPath});
  }
  EXPECT_EQ(ToolRuns(), 6);
}

TEST_F(CaptureEngine, TheStampIsTakenOnceBeforeTheCountdown) {
  ASSERT_EQ(Settings.TimerSeconds, 3) << "a first run counts down";
  PushTick([this] {
    EXPECT_EQ(DateCalls().size(), 1u) << "the date ran before the countdown";
    SetStamp("2024-04-05-023018");
  });
  PushTick();
  PushTick();
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(DateCalls(), (Words{"+%Y-%d-%m-%I%M%S"}));
  EXPECT_EQ(ToolWords().back(), Shot(documents, "full"));
}

TEST_F(CaptureEngine, AFolderThatIsGoneFallsBackToDocumentsForThatCaptureAlone) {
  fs::remove(documents);
  for (const char* gone : {"", "/nonexistent/shots/"}) {
    Settings.DirPath = gone;
    WriteSetting("DirPath", gone);
    Settings.TimerSeconds = 0;
    RunCapture(CaptureSelection);
    EXPECT_EQ(Settings.DirPath + "|" + ReadStringSetting("DirPath"),
              gone + ("|" + std::string(gone)))
        << "a drive unplugged for a moment does not change the user's choice";
    EXPECT_TRUE(fs::is_directory(documents));
  }
  EXPECT_EQ(ToolWords().back(), Shot(documents, "area", "-2.png"));
  // Opening the folder settles it the same way.
  fs::remove_all(documents);
  Settings.DirPath = "";
  EXPECT_TRUE(RunCommand(CommandForMenuItem(ItemOpenCaptureLocation)));
  EXPECT_EQ(OpenerWords(), Words{documents});
  EXPECT_TRUE(fs::is_directory(documents));
}

TEST_F(CaptureEngine, CapturesInOneSecondNeverReplaceEachOtherWhateverTheFolderHolds) {
  Settings.TimerSeconds = 0;
  for (int i = 0; i < 3; ++i) RunCapture(CaptureEntireScreen);
  for (const char* name : {".png", "-2.png", "-3.png"}) {
    EXPECT_TRUE(fs::exists(Shot(documents, "full", name))) << name;
  }
  RunCapture(CaptureWindow);
  EXPECT_EQ(ToolWords().back(), Shot(documents, "window")) << "another kind has its own name";
  fs::create_directory(Shot(documents, "area"));
  RunCapture(CaptureSelection);
  EXPECT_EQ(ToolWords().back(), Shot(documents, "area", "-2.png")) << "a folder takes the name";
  for (const char* name : {"My Shots", "say \"cheese\" -P x", "tab\there \" -c \""}) {
    Settings.DirPath = temporary.scratch.MakeFolder(name);
    RunCapture(CaptureSelection);
    EXPECT_EQ(ToolWords(), (Words{"-s", "-t", "png", Shot(Settings.DirPath, "area")})) << name;
  }
  // Without a date the name is the prefix alone; without a tool nothing runs and nobody is told.
  Settings.DirPath = documents;
  date.Set(bin + "no-date");
  RunCapture(CaptureWindow);
  RunCapture(CaptureWindow);
  EXPECT_EQ(ToolWords().back(), documents + "vs_cap_window_-2.png");
  tool.Set(bin + "no-tool");
  RunCapture(CaptureSelection);
  EXPECT_EQ(ToolRuns(), 10);
  EXPECT_EQ(Settings.LastSavePath, documents + "vs_cap_window_-2.png") << "no file, no new path";
  EXPECT_TRUE(platform.requesters.Alerts().empty());
}

TEST_F(CaptureEngine, ReturnsOnlyAfterTheToolHasEndedAndItsOutputIsDrained) {
  // Far more output than a pipe holds: a tool that blocked on a full pipe would never end.
  WriteWholeFile(bin + "slow-tool",
                 "#!/bin/sh\nseq 1 100000\nsleep 0.2\necho finished > " + bin + "slow-done\n",
                 0755);
  tool.Set(bin + "slow-tool");
  RunCapture(CaptureWindow);
  EXPECT_EQ(ReadWholeFile(bin + "slow-done"), "finished\n");
}

// First-run settings on one display: a 3-second countdown before an entire-screen capture.
class Countdown : public CaptureTest {
 protected:
  // What the plate shows, and whether the tool has run yet.
  std::string Seen() const {
    return TextOf(CountdownLabel) + (ToolRuns() == 0 ? "" : " after the capture");
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
  EXPECT_TRUE(Gone(CountdownWindow, CountdownFont));
}

TEST_F(Countdown, EscapeCancelsAtOnceAndAnEarlierCountsEndDoesNotEndThisOne) {
  Settings.TimerSeconds = 2;  // the shortest count
  PushTick([this] { EXPECT_EQ(desk.LookOf(CountdownWindow).background, 0) << "a dark plate"; });
  desk.PressKey(Key(53, 0x1b));
  PushLook([] {});
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(ToolRuns(), 0);
  EXPECT_TRUE(Gone(CountdownWindow, CountdownFont));
  EXPECT_EQ(desk.PendingEventCount(), 1u) << "Escape ended the wait at once";
  desk.HandlePendingEvents();
  QueueEvent(CountdownFinishedEvent, 0, 0, 0, PostCustom);
  Words seen;
  for (int second = 1; second <= 2; ++second) PushTick([&] { seen.push_back(Seen()); });
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(seen, (Words{"1", "0"}));
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
};

TEST_F(DisplayPicker, TheButtonFollowsTheWindowAndTheToolGetsTheChosenDisplay) {
  Words titles;
  PushLook([&] {
    const headless::Window* picker = desk.FindWindow(PickerWindow);
    ASSERT_TRUE(picker && picker->visible && picker->floating &&
                (picker->flags & WindowCloseButton));
    EXPECT_EQ(desk.ActiveWindow(), PickerWindow) << "for Escape and Return";
    EXPECT_EQ(picker->gadgets.front()->text, "Drag this window to the screen to capture.");
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
  EXPECT_TRUE(Gone(PickerWindow, PickerFont));
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
    if (escape) desk.PressKey(Key(53, 0x1b));
    if (!escape) desk.PressCloseButton(PickerWindow);
    PushLook([] {});
    RunCapture(CaptureEntireScreen);
    EXPECT_EQ(ToolRuns(), 0);
    EXPECT_EQ(DisplayOption, "");
    EXPECT_TRUE(Gone(PickerWindow, PickerFont));
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
    PushLook([] {  // the program's own kinds go, even one that names a window
      QueueEvent(HotkeyEvent1, 0, HotkeyWindow, 0, PostCustom);
      QueueEvent(FirstCustomEvent, 0, PreferencesWindow, 0, PostCustom);
    });
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
  const std::optional<Point> corner = CentreOnPointerDisplay(SideBySide, {1500, 1000}, 220, 190);
  EXPECT_TRUE(corner && corner->x == 1280 + 430 && corner->y == -200 + 865) << "centred";
  EXPECT_FALSE(CentreOnPointerDisplay({}, {0, 0}, 220, 190));
}

}  // namespace
