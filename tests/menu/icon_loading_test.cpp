#include "menu/icon_loading.h"

#include "menu/image_slots.h"
#include "menu_fixture.h"
#include "platform/toolkit.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

class IconLoading : public MenuTest {
 protected:
  const headless::Image* Slot(std::int64_t slot) {
    return static_cast<const headless::Image*>(ImageHandle(slot));
  }
};

TEST_F(IconLoading, SingleScaleLoadsThe18PixelSetInTheSlotOrderOfTheMenuIconSetting) {
  platform.toolkit.SetScale(1.0);
  LoadMenuIcons(resources);
  const char* expected[] = {"app_icon2.png",     "app_icon1.png",     "app_icon3.png",
                            "app_icon4.png",     "inv_app_icon2.png", "inv_app_icon1.png",
                            "inv_app_icon3.png", "inv_app_icon4.png"};
  for (std::int64_t slot = 0; slot < 8; ++slot) {
    const headless::Image* image = Slot(slot);
    ASSERT_NE(image, nullptr) << slot;
    EXPECT_EQ(FileOf(image), expected[slot]) << slot;
    EXPECT_EQ(image->width, 18);
    EXPECT_EQ(image->height, 18);
    EXPECT_EQ(image->pointWidth, 18.0);
    EXPECT_EQ(image->pointHeight, 18.0);
  }
  const headless::Image* application = Slot(ApplicationIconImage);
  ASSERT_NE(application, nullptr);
  EXPECT_EQ(FileOf(application), "fancy_app_icon.png");
  EXPECT_EQ(application->width, 128);
  EXPECT_EQ(application->pointWidth, 128.0) << "one pixel is one point at scale 1";
}

TEST_F(IconLoading, DoubleScaleShows36PixelFilesAt18PointsAndTheApplicationIconAt64) {
  platform.toolkit.SetScale(2.0);
  LoadMenuIcons(resources);
  const headless::Image* dark = Slot(5);
  ASSERT_NE(dark, nullptr);
  EXPECT_EQ(FileOf(dark), "inv_app_icon1x2.png");
  EXPECT_EQ(dark->width, 36);
  EXPECT_EQ(dark->height, 36);
  EXPECT_EQ(dark->pointWidth, 18.0);
  EXPECT_EQ(dark->pointHeight, 18.0);

  const headless::Image* application = Slot(ApplicationIconImage);
  ASSERT_NE(application, nullptr);
  EXPECT_EQ(FileOf(application), "fancy_app_iconx2.png");
  EXPECT_EQ(application->width, 128) << "the 256 pixel file is resized to 128";
  EXPECT_EQ(application->height, 128);
  EXPECT_EQ(application->pointWidth, 64.0);
  EXPECT_EQ(application->pointHeight, 64.0);
}

TEST_F(IconLoading, FractionalScalesTakeTheNearerSetInsteadOfNoIcon) {
  struct Case {
    double scale;
    const char* slot1File;
  };
  for (const Case& c :
       {Case{1.25, "app_icon1.png"}, Case{1.5, "app_icon1x2.png"}, Case{1.75, "app_icon1x2.png"},
        Case{3.0, "app_icon1x2.png"}, Case{0.0, "app_icon1.png"}}) {
    platform.toolkit.SetScale(c.scale);
    LoadMenuIcons(resources);
    EXPECT_EQ(FileOf(Slot(1)), c.slot1File) << c.scale;
    EXPECT_EQ(Slot(1)->pointWidth, 18.0) << c.scale;
  }
  platform.toolkit.SetScale(1.5);
  LoadMenuIcons(resources);
  EXPECT_EQ(Slot(ApplicationIconImage)->pointWidth, 128.0)
      << "the application icon takes its half-size points only from scale 2 on";
}

TEST_F(IconLoading, AMissingOrUnreadableFileLeavesOnlyItsSlotEmpty) {
  ScratchFolder partial;
  for (const char* name : {"app_icon1.png", "app_icon3.png", "fancy_app_icon.png"}) {
    fs::copy_file(fs::path(VANTORSHOT_BUILT_RESOURCES) / name, partial.Path() + name);
  }
  partial.WriteFile("app_icon4.png", "not a picture");
  resources = partial.Path();
  platform.toolkit.SetScale(1.0);

  LoadMenuIcons(resources);
  EXPECT_TRUE(ImageExists(1));
  EXPECT_TRUE(ImageExists(2));
  EXPECT_TRUE(ImageExists(ApplicationIconImage));
  EXPECT_FALSE(ImageExists(0)) << "app_icon2.png is missing";
  EXPECT_FALSE(ImageExists(3)) << "app_icon4.png is not a PNG";
  for (std::int64_t slot = 4; slot < 8; ++slot) EXPECT_FALSE(ImageExists(slot)) << slot;
}

TEST_F(IconLoading, LoadIconImageAnswersTheSlotsImageOrNothing) {
  void* loaded = LoadIconImage(20, resources + "app_icon1.png");
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded, ImageHandle(20));
  EXPECT_EQ(ImageWidth(20), 18);

  EXPECT_EQ(LoadIconImage(20, resources + "no_such_icon.png"), nullptr);
  EXPECT_FALSE(ImageExists(20)) << "a failed load leaves the slot empty, not holding the old one";

  EXPECT_NE(LoadIconImage(0, resources + "app_icon2.png"), nullptr)
      << "slot 0 is a real slot, not a failure";
}

TEST_F(IconLoading, MenuSymbolsComeFromTheIconThemeAndOursFillItsGaps) {
  platform.toolkit.SetThemeIcons({"edit-cut", "folder"});
  LoadMenuSymbols(resources);
  EXPECT_EQ(FileOf(Slot(DisplaySymbolImage)), "symbol_display.png");
  EXPECT_EQ(FileOf(Slot(WindowSymbolImage)), "symbol_window.png");
  EXPECT_EQ(Slot(ScissorsSymbolImage)->path, "theme:edit-cut");
  EXPECT_EQ(Slot(FolderSymbolImage)->path, "theme:folder");
}

TEST_F(IconLoading, WithoutAnIconThemeMenuSymbolsComeFromTheBundledFiles) {
  LoadMenuSymbols(resources);
  EXPECT_EQ(FileOf(Slot(DisplaySymbolImage)), "symbol_display.png");
  EXPECT_EQ(FileOf(Slot(WindowSymbolImage)), "symbol_window.png");
  EXPECT_EQ(FileOf(Slot(ScissorsSymbolImage)), "symbol_scissors.png");
  EXPECT_EQ(FileOf(Slot(FolderSymbolImage)), "symbol_folder.png");
  const headless::Image* blank = Slot(BlankSymbolImage);
  ASSERT_NE(blank, nullptr);
  EXPECT_EQ(blank->width, 16);
  EXPECT_EQ(blank->height, 16);
}

}  // namespace
