#include "menu/menu_icon.h"

#include "app/dispatch.h"
#include "menu/icon_loading.h"
#include "menu/status_menu.h"
#include "menu_fixture.h"
#include "platform/command_numbers.h"
#include "platform/toolkit.h"
#include "shortcuts/hotkey_list.h"
#include "support/scratch_folder.h"

namespace {

class MenuIconTest : public MenuTest {
 protected:
  void Start() {
    LoadMenuIcons(resources);
    LoadMenuSymbols(resources);
    RegisterStartupHotkeys();
    BuildStatusMenu();
    platform.host.ObserveAppearance(true);
  }

  // Lets the desktop hand over its pending change and runs what the loop would run for it.
  void RunNextEvent() {
    const std::int32_t kind = NextEvent(0);
    ASSERT_EQ(kind, AppearanceChangedEvent);
    EXPECT_TRUE(
        RunCommand(CommandForEvent(kind, EventNumber(), EventWindowNumber(), EventSubtype())));
  }

  std::string StatusFile() { return FileOf(platform.toolkit.Status().image); }
};

TEST_F(MenuIconTest, DarkDesktopWithMenuIcon1ShowsTheInvertedDesignOne) {
  platform.toolkit.SetDark(true);
  Settings.MenuIcon = 1;
  Start();
  EXPECT_TRUE(IsDarkMode());
  EXPECT_EQ(platform.toolkit.Status().image, ImageHandle(5));
  EXPECT_EQ(StatusFile(), "inv_app_icon1.png");
}

TEST_F(MenuIconTest, AnAppearanceChangeSwapsTheIconBothWaysWithoutRestart) {
  Settings.MenuIcon = 2;
  Start();
  EXPECT_EQ(platform.toolkit.Status().image, ImageHandle(2));

  platform.toolkit.ChangeAppearance(true);
  RunNextEvent();
  EXPECT_EQ(platform.toolkit.Status().image, ImageHandle(6));
  EXPECT_EQ(StatusFile(), "inv_app_icon3.png");

  platform.toolkit.ChangeAppearance(false);
  RunNextEvent();
  EXPECT_EQ(platform.toolkit.Status().image, ImageHandle(2));
}

TEST_F(MenuIconTest, AMenuIconOutside0To3NeverTouchesTheStatusImage) {
  Settings.MenuIcon = 1;
  Start();
  const headless::Image* shown = platform.toolkit.Status().image;
  ASSERT_NE(shown, nullptr);
  Settings.MenuIcon = 9;
  platform.toolkit.ChangeAppearance(true);
  RunNextEvent();
  EXPECT_EQ(platform.toolkit.Status().image, shown);
}

TEST_F(MenuIconTest, AtAnEmptyIconSlotTheStatusItemHasNoImage) {
  ScratchFolder empty;
  resources = empty.Path();
  Start();
  EXPECT_TRUE(platform.toolkit.Status().present);
  EXPECT_EQ(platform.toolkit.Status().image, nullptr);
}

}  // namespace
