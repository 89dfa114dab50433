#include "menu/menu_icon.h"

#include "menu/image_slots.h"
#include "platform/toolkit.h"
#include "settings/setting_keys.h"
#include "settings/settings_record.h"

bool IsDarkMode() {
  return IsDarkAppearance() != 0;
}

std::int64_t IconForMenuIcon(std::int64_t menuIcon, bool dark) {
  if (menuIcon < 0 || menuIcon >= MenuIconCount) return -1;
  return (dark ? FirstDarkIconImage : FirstLightIconImage) + menuIcon;
}

void ShowMenuIcon() {
  // A design that does not exist (a hand-edited file) shows the first-run one: without an
  // icon the program could be neither seen nor reached.
  const std::int64_t design = IconForMenuIcon(Settings.MenuIcon, false) >= 0
                                  ? Settings.MenuIcon
                                  : SettingKeyNamed("MenuIcon").firstRunInteger;
  SetStatusItemImage(IconForMenuIcon(design, IsDarkMode()));
}

void ApplyAppearance() {
  ShowMenuIcon();
}
