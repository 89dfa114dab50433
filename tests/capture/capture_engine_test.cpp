#include <filesystem>
#include <string>
#include <vector>

#include "app/dispatch.h"
#include "capture/capture_engine.h"
#include "capture/capture_fixture.h"
#include "capture/capture_tool.h"
#include "platform/command_numbers.h"
#include "platform/program_location.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"

namespace {

using Words = std::vector<std::string>;

// Starts from the record a first run leaves: timer 3, PNG, sound and shadow on, no folder yet.
class CaptureEngineTest : public CaptureTest {};

TEST_F(CaptureEngineTest, FirstRunDefaultsCountDownThenGiveFormatAndPathOnly) {
  ASSERT_EQ(Settings.TimerSeconds, 3);
  ASSERT_EQ(Settings.DirPath, "");
  PushTimerTicks(3);
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(ToolWords(), (Words{"-t", "png", documents + "vs_cap_full_2024-04-05-023015.png"}));
  EXPECT_EQ(platform.toolkit.PendingEventCount(), 0u) << "the tool ran after the third second";
  EXPECT_TRUE(platform.toolkit.RunningTimers().empty());
}

TEST_F(CaptureEngineTest, TheStampIsTakenOnceBeforeTheCountdown) {
  PushTimerTicks(1);
  platform.toolkit.PushSystemEvent([this] {
    EXPECT_EQ(DateCalls().size(), 1u) << "the date ran before the countdown";
    SetStamp("2024-04-05-023018");
  });
  PushTimerTicks(2);
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(DateCalls(), (Words{"+%Y-%d-%m-%I%M%S"}));
  EXPECT_EQ(ToolWords().back(), documents + "vs_cap_full_2024-04-05-023015.png");
}

TEST_F(CaptureEngineTest, AMissingFolderFallsBackToDocumentsAndIsStored) {
  const std::string gone = scratch.MakeFolder("gone");
  std::filesystem::remove(gone);
  Settings.DirPath = gone;
  Settings.DisplayPath = "gone";
  WriteSetting("DirPath", gone);
  Settings.TimerSeconds = 0;
  RunCapture(CaptureSelection);
  EXPECT_EQ(Settings.DirPath, documents);
  EXPECT_EQ(Settings.DisplayPath, "Documents");
  EXPECT_EQ(ReadStringSetting("DirPath"), documents);
  EXPECT_EQ(ReadStringSetting("DisplayPath"), "Documents");
  EXPECT_EQ(ToolWords().back(), documents + "vs_cap_area_2024-04-05-023015.png");
}

TEST_F(CaptureEngineTest, TheFallbackCreatesADocumentsFolderTheAccountLacks) {
  std::filesystem::remove(documents);
  Settings.TimerSeconds = 0;
  RunCapture(CaptureWindow);
  EXPECT_TRUE(std::filesystem::is_directory(documents));
  EXPECT_EQ(ToolWords().back(), documents + "vs_cap_window_2024-04-05-023015.png");
}

TEST_F(CaptureEngineTest, CapturesInOneSecondNeverReplaceEachOther) {
  Settings.TimerSeconds = 0;
  for (int i = 0; i < 3; ++i) RunCapture(CaptureEntireScreen);
  const std::string base = documents + "vs_cap_full_2024-04-05-023015";
  EXPECT_EQ(ToolWords().back(), base + "-3.png");
  EXPECT_TRUE(std::filesystem::exists(base + ".png"));
  EXPECT_TRUE(std::filesystem::exists(base + "-2.png"));
  EXPECT_TRUE(std::filesystem::exists(base + "-3.png"));
  EXPECT_EQ(Settings.LastSavePath, base + "-3.png");

  RunCapture(CaptureWindow);
  EXPECT_EQ(ToolWords().back(), documents + "vs_cap_window_2024-04-05-023015.png")
      << "another kind has a name of its own";
  std::filesystem::create_directory(documents + "vs_cap_area_2024-04-05-023015.png");
  RunCapture(CaptureSelection);
  EXPECT_EQ(ToolWords().back(), documents + "vs_cap_area_2024-04-05-023015-2.png")
      << "a folder of that name counts as taken";
}

TEST_F(CaptureEngineTest, WithoutADateTheNameIsPrefixAndExtension) {
  const ScopedEnvironment noDate("VANTORSHOT_DATE_PROGRAM", scratch.Path() + "bin/no-date");
  Settings.TimerSeconds = 0;
  RunCapture(CaptureEntireScreen);
  RunCapture(CaptureEntireScreen);
  EXPECT_TRUE(std::filesystem::exists(documents + "vs_cap_full_.png"));
  EXPECT_EQ(ToolWords().back(), documents + "vs_cap_full_-2.png");
}

TEST_F(CaptureEngineTest, ReturnsOnlyAfterTheToolHasEndedAndItsOutputIsDrained) {
  // Far more output than a pipe holds: a tool that blocked on a full pipe would never end.
  scratch.WriteFile("bin/slow-tool",
                    "#!/bin/sh\n"
                    "seq 1 100000\n"
                    "sleep 0.2\n"
                    "echo finished > '" +
                        scratch.Path() + "slow-done'\n",
                    0755);
  const ScopedEnvironment slowTool("VANTORSHOT_CAPTURE_TOOL", scratch.Path() + "bin/slow-tool");
  RunCapture(CaptureWindow);
  EXPECT_EQ(ReadWholeFile(scratch.Path() + "slow-done"), "finished\n");
}

TEST_F(CaptureEngineTest, TheToolBesideTheProgramIsTheDefault) {
  EXPECT_EQ(CaptureToolProgram(), scratch.Path() + "bin/tool");
  const ScopedEnvironment unset("VANTORSHOT_CAPTURE_TOOL", "");
  EXPECT_EQ(CaptureToolProgram(),
            std::filesystem::path(ExecutablePath()).parent_path().string() + "/vantorshot-capture");
}

TEST_F(CaptureEngineTest, MenuItemsAndHotkeysRunTheirCaptures) {
  Settings.DirPath = documents;
  Settings.TimerSeconds = 0;
  EXPECT_TRUE(RunCommand(CommandForMenuItem(ItemCaptureEntireScreen)));
  EXPECT_EQ(ToolWords().front(), "-t");
  EXPECT_TRUE(RunCommand(CommandForEvent(HotkeyEvent2, -65535, -65535, -65535)));
  EXPECT_EQ(ToolWords().front(), "-W");
  EXPECT_TRUE(RunCommand(CommandForEvent(HotkeyEvent3, -65535, -65535, -65535)));
  EXPECT_EQ(ToolWords().front(), "-s");
  EXPECT_EQ(ToolRuns(), 3);
}

}  // namespace
