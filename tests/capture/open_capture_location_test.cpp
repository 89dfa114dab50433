#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/dispatch.h"
#include "capture/capture_fixture.h"
#include "platform/command_numbers.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"

namespace {

using Words = std::vector<std::string>;

// A recording opener first on PATH; it is started detached, so its record is awaited.
class OpenCaptureLocationTest : public CaptureTest {
 protected:
  OpenCaptureLocationTest() {
    scratch.WriteFile("opener/xdg-open",
                      "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record +
                          ".tmp'\n"
                          "mv '" +
                          record + ".tmp' '" + record + "'\n",
                      0755);
  }

  Words OpenerWords() {
    for (int i = 0; i < 500 && ReadLines(record).empty(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return ReadLines(record);
  }

  std::string record = scratch.Path() + "opener-words";
  ScopedEnvironment path{"PATH", scratch.Path() + "opener:/usr/bin:/bin"};
};

TEST_F(OpenCaptureLocationTest, HandsAFolderWithBlanksAsOneWord) {
  const std::string shots = scratch.MakeFolder("My \"Best\" Shots");
  Settings.DirPath = shots;
  EXPECT_TRUE(RunCommand(CommandForMenuItem(ItemOpenCaptureLocation)));
  EXPECT_EQ(OpenerWords(), (Words{shots}));
}

TEST_F(OpenCaptureLocationTest, OnAFirstRunOpensTheDocumentsFolder) {
  ASSERT_EQ(Settings.DirPath, "");
  EXPECT_TRUE(RunCommand(CommandForEvent(HotkeyEvent4, -65535, -65535, -65535)));
  EXPECT_EQ(OpenerWords(), (Words{documents}));
  EXPECT_EQ(Settings.DirPath, documents);
  EXPECT_EQ(ReadStringSetting("DisplayPath"), "Documents");
}

}  // namespace
