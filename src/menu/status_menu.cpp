#include "menu/status_menu.h"

#include <array>

#include "menu/image_slots.h"
#include "menu/menu_icon.h"
#include "platform/command_numbers.h"
#include "platform/toolkit.h"
#include "settings/derived_values.h"
#include "settings/settings_record.h"
#include "shortcuts/menu_hint.h"

namespace {

// The current hint of each capture item, in the order of items 1, 2, 3 and 5.
std::array<std::string, 4> CaptureHints;

int CaptureHintIndex(std::int64_t item) {
  switch (item) {
    case ItemCaptureEntireScreen: return 0;
    case ItemCaptureWindow: return 1;
    case ItemCaptureSelection: return 2;
    case ItemOpenCaptureLocation: return 3;
    default: return -1;
  }
}

std::string CaptureItemTitle(std::int64_t item) {
  switch (item) {
    case ItemCaptureWindow: return "Capture Window...";
    case ItemCaptureSelection: return "Capture Selection...";
    default: return "Open Capture Location...";
  }
}

// A timer index that no countdown stands for (a hand-edited settings file) shows the plain
// text rather than leaving the first item out of the menu.
int TimerSecondsForIndex(std::int64_t index) {
  if (index < 0 || index >= static_cast<std::int64_t>(TimerSecondsTable.size())) return 0;
  return TimerSecondsTable[static_cast<std::size_t>(index)];
}

std::int64_t SymbolOrBlank(std::int64_t symbol) {
  return ImageExists(symbol) ? symbol : BlankSymbolImage;
}

void AddCaptureItem(std::int64_t item, const std::string& title, const std::string& shortcut,
                    std::int64_t symbol) {
  std::string& hint = CaptureHints[static_cast<std::size_t>(CaptureHintIndex(item))];
  hint = MenuHintFromShortcut(shortcut);
  AddMenuItem(StatusMenu, item, title + "\t" + hint, SymbolOrBlank(symbol));
}

}  // namespace

std::string EntireScreenItemTitle(int timerSeconds) {
  if (timerSeconds == 0) return "Capture Entire Screen";
  return "Capture Entire Screen (" + std::to_string(timerSeconds) + " sec Timer)";
}

void BuildStatusMenu() {
  NewWindow(StatusMenuHostWindow, 0, 0, 0, 0, "", WindowHidden);
  CreateStatusItem();
  ShowMenuIcon();

  NewPopupMenu(StatusMenu);
  AddCaptureItem(ItemCaptureEntireScreen,
                 EntireScreenItemTitle(TimerSecondsForIndex(Settings.TimerIndex)),
                 Settings.ShortKey1, DisplaySymbolImage);
  AddCaptureItem(ItemCaptureWindow, CaptureItemTitle(ItemCaptureWindow), Settings.ShortKey2,
                 WindowSymbolImage);
  AddCaptureItem(ItemCaptureSelection, CaptureItemTitle(ItemCaptureSelection), Settings.ShortKey3,
                 ScissorsSymbolImage);
  AddMenuSeparator(StatusMenu);
  AddCaptureItem(ItemOpenCaptureLocation, CaptureItemTitle(ItemOpenCaptureLocation),
                 Settings.ShortKey4, FolderSymbolImage);
  ApplyLocationItemRule();
  AddMenuSeparator(StatusMenu);
  AddMenuItem(StatusMenu, ItemPreferences, "Preferences...\t" + MenuHintFromShortcut("⌘,"),
              BlankSymbolImage);
  AddMenuSeparator(StatusMenu);
  OpenSubMenu(StatusMenu, "More...", BlankSymbolImage);
  AddMenuItem(StatusMenu, ItemAbout, "About", BlankSymbolImage);
  AddMenuSeparator(StatusMenu);
  AddMenuItem(StatusMenu, ItemGiveFeedback, "Give Feedback", BlankSymbolImage);
  AddMenuItem(StatusMenu, ItemContactMe, "Contact Me", BlankSymbolImage);
  CloseSubMenu(StatusMenu);
  AddMenuSeparator(StatusMenu);
  AddMenuItem(StatusMenu, ItemQuit, "Quit\t" + MenuHintFromShortcut("⌘Q"), BlankSymbolImage);
  SetStatusItemMenu(StatusMenu);
}

void SetCaptureItemShortcut(std::int64_t item, std::string_view shortcutText) {
  const int index = CaptureHintIndex(item);
  if (index < 0) return;
  CaptureHints[static_cast<std::size_t>(index)] = MenuHintFromShortcut(shortcutText);
  if (item == ItemCaptureEntireScreen) {
    SetEntireScreenItemTimer(Settings.TimerSeconds);
    return;
  }
  SetMenuItemTitle(StatusMenu, item,
                   CaptureItemTitle(item) + "\t" + CaptureHints[static_cast<std::size_t>(index)]);
}

void SetEntireScreenItemTimer(int timerSeconds) {
  SetMenuItemTitle(StatusMenu, ItemCaptureEntireScreen,
                   EntireScreenItemTitle(timerSeconds) + "\t" + CaptureHints[0]);
}

void ApplyLocationItemRule() {
  SetMenuItemDisabled(StatusMenu, ItemOpenCaptureLocation,
                      Settings.ClipboardOn != 0 || Settings.PreviewOn != 0 ? 1 : 0);
}
