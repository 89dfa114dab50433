#include <filesystem>

#include "app/dispatch.h"
#include "capture/capture_engine.h"
#include "capture/capture_fixture.h"
#include "platform/command_numbers.h"
#include "settings/derived_values.h"
#include "settings/settings_store.h"

namespace {

namespace fs = std::filesystem;

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
    EXPECT_EQ(Settings.LastSavePath, "\"" + expected.back() + "\"");
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

TEST_F(CaptureEngine, AFolderThatIsGoneFallsBackToDocumentsWhichIsMadeAndStored) {
  fs::remove(documents);
  for (const char* gone : {"", "/nonexistent/shots/"}) {
    Settings.DirPath = gone;
    Settings.DisplayPath = "gone";
    WriteSetting("DirPath", gone);
    Settings.TimerSeconds = 0;
    RunCapture(CaptureSelection);
    EXPECT_EQ(Settings.DirPath + Settings.DisplayPath, documents + "Documents");
    EXPECT_EQ(ReadStringSetting("DirPath") + ReadStringSetting("DisplayPath"),
              documents + "Documents");
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
  EXPECT_EQ(Settings.LastSavePath, "\"" + documents + "vs_cap_area_.png\"") << "still built";
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

}  // namespace
