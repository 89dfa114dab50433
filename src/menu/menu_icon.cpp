#include "menu/menu_icon.h"

#include "menu/image_slots.h"
#include "platform/toolkit.h"
#include "settings/settings_record.h"

bool IsDarkMode() {
  return IsDarkAppearance() != 0;
}

std::int64_t IconForMenuIcon(std::int64_t menuIcon, bool dark) {
  if (menuIcon < 0 || menuIcon >= MenuIconCount) return -1;
  return (dark ? FirstDarkIconImage : FirstLightIconImage) + menuIcon;
}

void ShowMenuIcon() {
  const std::int64_t slot = IconForMenuIcon(Settings.MenuIcon, IsDarkMode());
  if (slot >= 0) SetStatusItemImage(slot);
}

void ApplyAppearance() {
  ShowMenuIcon();
}
