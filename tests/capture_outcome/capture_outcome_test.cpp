#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "program/program_fixture.h"

namespace {

TEST_F(ProgramTest, EachResultOfTheToolIsToldOnceAndOnlyAWrittenFileIsKept) {
  struct Case {
    const char* tool;   // nullptr for a tool that cannot start
    const char* title;  // "" for no notification
    const char* body;   // the start of the body
    bool saved;
  };
  const Case cases[] = {
      {"echo picture > \"$out\"", "Capture saved", "vs_cap_area_", true},
      {"echo picture > \"${out%.png}-2.png\"; echo \"${out%.png}-2.png\"", "Capture saved",
       "vs_cap_area_", true},
      {"exit 1", "", "", false},
      {"echo 'vantorshot-capture: cannot write to folder /x: Permission denied' >&2; exit 2",
       "Capture failed", "vantorshot-capture: cannot write to folder /x", false},
      {"exit 7", "Capture failed", "The capture tool ended with status 7.", false},
      {"kill -9 $$", "Capture failed", "The capture tool was killed by signal 9.", false},
      {"exit 0", "Capture failed", "The capture tool wrote no file.", false},
      {nullptr, "Capture failed", "The capture tool could not be started", false},
  };
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tool ? c.tool : "no tool");
    c.tool ? UseTool(c.tool) : tool.Set(temporary.scratch.Path() + "bin/no-such-tool");
    Settings.LastSavePath = "before";
    Shown().clear();
    RunCapture(CaptureSelection);
    ASSERT_EQ(Shown().size(), c.title[0] == '\0' ? 0u : 1u);
    if (!Shown().empty()) {
      EXPECT_EQ(Shown()[0].title, c.title);
      EXPECT_EQ(Shown()[0].body.substr(0, std::string(c.body).size()), c.body);
    }
    if (c.saved) {
      EXPECT_TRUE(std::filesystem::exists(Settings.LastSavePath)) << Settings.LastSavePath;
      EXPECT_EQ(Shown()[0].shows, Settings.LastSavePath);
      EXPECT_EQ(Shown()[0].body, Settings.LastSavePath.substr(Settings.DirPath.size()));
    } else {
      EXPECT_EQ(Settings.LastSavePath, "before");
    }
  }
  Start("ClipboardOn=1\n");
  UseTool("echo picture > \"$out\"");
  Shown().clear();
  RunCapture(CaptureWindow);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].title, "Capture copied to the clipboard");
}

TEST_F(ProgramTest, AQuitDuringTheCaptureStopsTheToolAndReachesTheMainLoop) {
  const std::string pidFile = temporary.scratch.Path() + "tool-pid";
  UseTool("echo $$ > '" + pidFile + "'; exec sleep 30");
  Start();
  const auto started = std::chrono::steady_clock::now();
  std::thread quit([] {
    usleep(300000);
    kill(getpid(), SIGTERM);
  });
  RunCapture(CaptureSelection);
  quit.join();
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
  EXPECT_TRUE(Shown().empty()) << "a capture ended by the quit tells nothing";
  EXPECT_NE(kill(std::stoi(ReadWholeFile(pidFile)), 0), 0) << "the tool is gone";
  platform.toolkit.HandlePendingEvents();
  ASSERT_EQ(NextEvent(0), MenuEvent);
  EXPECT_EQ(EventNumber(), QuitMenuNumber);
}

TEST_F(ProgramTest, ADisplayThatWentAwayIsForgotten) {
  const std::string words = temporary.scratch.Path() + "words";
  UseTool("printf '%s\\n' \"$@\" > '" + words + "'; echo picture > \"$out\"");
  Start("Timer=0\n");
  DisplayOption = " -D2";
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(ReadLines(words).size(), 3u) << "-t png and the path, no display";
  EXPECT_EQ(DisplayOption, "");
}

}  // namespace
