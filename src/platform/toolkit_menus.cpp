#include "platform/toolkit.h"

#include "platform/toolkit_state.h"

using namespace toolkit_core;

// Menus.

namespace {
NativeHandle InnermostMenu(std::int64_t number) {
  MenuRecord* menu = T().menus.Find(number);
  if (menu == nullptr) return nullptr;
  return menu->open.empty() ? menu->native : menu->open.back();
}
}  // namespace

std::int64_t NewPopupMenu(std::int64_t number) {
  if (N() == nullptr) return 0;
  if (number != AutoNumber) FreeMenu(number);
  const std::int64_t chosen = T().menus.Choose(number);
  NativeHandle native = N()->CreateMenu(chosen);
  if (native == nullptr) return 0;
  T().menus.records[chosen].native = native;
  return chosen;
}

int MenuExists(std::int64_t number) {
  return T().menus.Find(number) != nullptr ? 1 : 0;
}

void AddMenuItem(std::int64_t menu, std::int64_t item, std::string_view text, std::int64_t image) {
  if (NativeHandle native = InnermostMenu(menu)) {
    N()->AddMenuItem(native, item, text, ImageOf(image));
  }
}

void AddMenuSeparator(std::int64_t menu) {
  if (NativeHandle native = InnermostMenu(menu)) N()->AddMenuSeparator(native);
}

void OpenSubMenu(std::int64_t menu, std::string_view text, std::int64_t image) {
  NativeHandle native = InnermostMenu(menu);
  if (native == nullptr) return;
  if (NativeHandle sub = N()->AddSubMenu(native, text, ImageOf(image))) {
    T().menus.Find(menu)->open.push_back(sub);
  }
}

void CloseSubMenu(std::int64_t menu) {
  MenuRecord* record = T().menus.Find(menu);
  if (record != nullptr && !record->open.empty()) record->open.pop_back();
}

void SetMenuItemDisabled(std::int64_t menu, std::int64_t item, int state) {
  if (MenuRecord* m = T().menus.Find(menu)) N()->SetMenuItemDisabled(m->native, item, state != 0);
}

void SetMenuItemTitle(std::int64_t menu, std::int64_t item, std::string_view text) {
  if (MenuRecord* m = T().menus.Find(menu)) N()->SetMenuItemTitle(m->native, item, text);
}

void FreeMenu(std::int64_t number) {
  MenuRecord* menu = T().menus.Find(number);
  if (menu == nullptr) return;
  N()->FreeMenu(menu->native);
  T().menus.records.erase(number);
}

// Status item.

int CreateStatusItem() {
  if (N() == nullptr || T().statusItem) return T().statusItem ? 1 : 0;
  T().statusItem = N()->CreateStatusItem();
  return T().statusItem ? 1 : 0;
}

void SetStatusItemImage(std::int64_t image) {
  if (T().statusItem) N()->SetStatusItemImage(ImageOf(image));
}

void SetStatusItemMenu(std::int64_t menu) {
  MenuRecord* m = T().menus.Find(menu);
  if (T().statusItem && m != nullptr) N()->SetStatusItemMenu(m->native);
}

void RemoveStatusItem() {
  if (!T().statusItem) return;
  N()->RemoveStatusItem();
  T().statusItem = false;
}
