#include <filesystem>
#include <string>

#include "capture/capture_engine.h"
#include "program/program_fixture.h"
#include "settings/settings_record.h"
#include "support/scoped_environment.h"

namespace {

class CaptureFolder : public ProgramTest {
 protected:
  void StartWithFolder(const std::string& folder) {
    tool.Set(temporary.scratch.WriteFile("bin/tool",
                                         "#!/bin/sh\nfor out; do :; done\n: > \"$out\"\n", 0755));
    Start("DirPath=" + folder + "\n");
  }
  ScopedEnvironment tool{"VANTORSHOT_CAPTURE_TOOL"};
};

TEST_F(CaptureFolder, AFolderWithoutItsSlashStillHoldsTheCapture) {
  const std::string pictures = temporary.home.string() + "/Pics";
  std::filesystem::create_directories(pictures);
  StartWithFolder(pictures);
  RunCapture(CaptureSelection);
  EXPECT_TRUE(Settings.LastSavePath.starts_with(pictures + "/vs_cap_area_"))
      << Settings.LastSavePath;
}

TEST_F(CaptureFolder, AMissingFolderTakesThisCaptureElsewhereAndStaysChosen) {
  const std::string drive = temporary.root.string() + "unplugged/";
  StartWithFolder(drive);
  RunCapture(CaptureSelection);
  const std::string documents = temporary.home.string() + "/Documents/";
  EXPECT_TRUE(Settings.LastSavePath.starts_with(documents)) << Settings.LastSavePath;
  ASSERT_EQ(platform.notifications.shown.size(), 1u);
  EXPECT_NE(platform.notifications.shown[0].body.find(drive + " is missing"), std::string::npos);
  EXPECT_EQ(Stored("DirPath"), drive) << "the choice is kept for when the drive is back";
  EXPECT_EQ(Settings.DirPath, drive);

  std::filesystem::create_directories(drive);
  RunCapture(CaptureSelection);
  EXPECT_TRUE(Settings.LastSavePath.starts_with(drive));
}

}  // namespace
