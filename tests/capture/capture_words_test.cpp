#include <string>
#include <vector>

#include "capture/capture_engine.h"
#include "capture/capture_fixture.h"
#include "capture/display_picker.h"
#include "settings/settings_record.h"

namespace {

using Words = std::vector<std::string>;

class CaptureWordsTest : public CaptureTest {
 protected:
  CaptureWordsTest() {
    folder = scratch.MakeFolder("Users/u1/Documents");
    Settings.DirPath = folder;
    Settings.FormatOption = "-t png";
    Settings.FileExtension = ".png";
    Settings.TimerSeconds = 0;
  }
  // The user drags the picker onto the second display and presses its button.
  void PickSecondDisplay() {
    platform.toolkit.DragWindow(PickerWindow, 1500, 300);
    platform.toolkit.ClickGadget(PickerButton);
  }

  std::string folder;
};

TEST_F(CaptureWordsTest, EntireScreenPngOnOneDisplayWithSoundAndShadowOn) {
  RunCapture(CaptureEntireScreen);
  const std::string path = folder + "vs_cap_full_2024-04-05-023015.png";
  EXPECT_EQ(ToolWords(), (Words{"-t", "png", path}));
  EXPECT_EQ(Settings.LastSavePath, path);
}

TEST_F(CaptureWordsTest, EntireScreenJpegOnThePickedSecondDisplayWithoutSoundWithPointer) {
  platform.toolkit.SetDisplays({{0, 0, 1280, 800}, {1280, 0, 1920, 1080}});
  platform.toolkit.SetPointer({2000, 500});
  Settings.FormatOption = "-t jpg";
  Settings.FileExtension = ".jpeg";
  Settings.SoundOption = " -x";
  Settings.PointerOption = " -C";
  PickSecondDisplay();
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(ToolWords(),
            (Words{"-t", "jpg", "-D2", "-x", "-C", folder + "vs_cap_full_2024-04-05-023015.jpeg"}));
}

TEST_F(CaptureWordsTest, WindowPngWithoutShadowAndSound) {
  Settings.ShadowOption = " -o";
  Settings.SoundOption = " -x";
  RunCapture(CaptureWindow);
  EXPECT_EQ(ToolWords(),
            (Words{"-W", "-t", "png", "-o", "-x", folder + "vs_cap_window_2024-04-05-023015.png"}));
}

TEST_F(CaptureWordsTest, SelectionTiffToClipboardAndPreview) {
  Settings.FormatOption = "-t tiff";
  Settings.FileExtension = ".tiff";
  Settings.ClipboardOption = " -c";
  Settings.PreviewOption = " -P";
  RunCapture(CaptureSelection);
  EXPECT_EQ(ToolWords(),
            (Words{"-s", "-t", "tiff", "-c", "-P", folder + "vs_cap_area_2024-04-05-023015.tiff"}));
}

TEST_F(CaptureWordsTest, EveryOptionInItsPlaceForEachKind) {
  Settings.SoundOption = " -x";
  Settings.ShadowOption = " -o";
  Settings.PointerOption = " -C";
  Settings.ClipboardOption = " -c";
  Settings.PreviewOption = " -P";
  DisplayOption = " -D1";
  const std::string stamp = "2024-04-05-023015.png";
  RunCapture(CaptureEntireScreen);
  EXPECT_EQ(ToolWords(),
            (Words{"-t", "png", "-D1", "-x", "-C", "-P", "-c", folder + "vs_cap_full_" + stamp}))
      << "the shadow belongs to window captures only";
  RunCapture(CaptureWindow);
  EXPECT_EQ(ToolWords(),
            (Words{"-W", "-t", "png", "-o", "-x", "-P", "-c", folder + "vs_cap_window_" + stamp}));
  RunCapture(CaptureSelection);
  EXPECT_EQ(ToolWords(),
            (Words{"-s", "-t", "png", "-x", "-c", "-P", folder + "vs_cap_area_" + stamp}));
  RunCapture(7);
  EXPECT_EQ(ToolWords().front(), "-s") << "any other kind is a selection";
}

TEST_F(CaptureWordsTest, WindowAndSelectionIgnoreTimerPointerAndDisplay) {
  // Two displays and a long timer: a picker or countdown would wait for events never pushed.
  platform.toolkit.SetDisplays({{0, 0, 1280, 800}, {1280, 0, 1920, 1080}});
  Settings.TimerSeconds = 15;
  Settings.PointerOption = " -C";
  DisplayOption = " -D2";
  RunCapture(CaptureWindow);
  EXPECT_EQ(ToolWords(),
            (Words{"-W", "-t", "png", folder + "vs_cap_window_2024-04-05-023015.png"}));
  RunCapture(CaptureSelection);
  EXPECT_EQ(ToolWords(), (Words{"-s", "-t", "png", folder + "vs_cap_area_2024-04-05-023015.png"}));
  EXPECT_EQ(DisplayOption, " -D2");
}

TEST_F(CaptureWordsTest, FoldersWithBlanksAndQuotesArriveAsOneWord) {
  for (const std::string name : {"My Shots", "say \"cheese\" -P x", "tab\there \" -c \""}) {
    const std::string odd = scratch.MakeFolder(name);
    Settings.DirPath = odd;
    RunCapture(CaptureSelection);
    EXPECT_EQ(ToolWords(), (Words{"-s", "-t", "png", odd + "vs_cap_area_2024-04-05-023015.png"}))
        << name;
    EXPECT_EQ(Settings.LastSavePath, odd + "vs_cap_area_2024-04-05-023015.png");
  }
}

}  // namespace
