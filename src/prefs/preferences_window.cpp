#include "prefs/preferences_window.h"

#include <string>

#include "capture/display_geometry.h"
#include "menu/status_menu.h"
#include "platform/command_numbers.h"
#include "platform/files.h"
#include "platform/program_location.h"
#include "platform/toolkit.h"
#include "prefs/preferences_layout.h"
#include "prefs/save_folder.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "shortcuts/hotkey_list.h"
#include "shortcuts/menu_hint.h"
#include "shortcuts/shortcut_code.h"

namespace {

constexpr int WindowWidth = 340;
constexpr int WindowHeight = 570;

// A checkbox shows a stored 0 or 1; any other value leaves it as it is.
void ShowSwitch(std::int64_t gadget, std::int8_t value) {
  if (value == 0 || value == 1) SetGadgetState(gadget, value);
}

void ShowStoredSettings() {
  if (Settings.FormatIndex >= 0 && Settings.FormatIndex < 5) {
    SetGadgetState(GadgetFileFormat, Settings.FormatIndex);
  }
  SetGadgetState(GadgetSaveLocation, 0);
  DisableGadget(GadgetSelectFolder, 0);
  if (Settings.LastSavePath == DocumentsFolder()) {
    Settings.DirPath = Settings.LastSavePath;
    ShowSaveFolderToolTip();
  }
  if (Settings.DisplayPath.empty()) {
    SetGadgetItemText(GadgetSaveLocation, 0, "Choose...");
  } else {
    SetGadgetItemText(GadgetSaveLocation, 0, Settings.DisplayPath);
    ShowSaveFolderToolTip();
  }
  if (Settings.TimerIndex >= 0 && Settings.TimerIndex < 5) {
    SetGadgetState(GadgetTimer, Settings.TimerIndex);
  }
  ShowSwitch(GadgetSound, Settings.SoundOn);
  ShowSwitch(GadgetShadow, Settings.ShadowOn);
  ShowSwitch(GadgetPointer, Settings.MouseOn);
  ShowSwitch(GadgetClipboard, Settings.ClipboardOn);
  ShowSwitch(GadgetPreview, Settings.PreviewOn);
  // Clipboard and viewer captures are not saved, and exclude each other.
  const bool notSaved = Settings.ClipboardOn == 1 || Settings.PreviewOn == 1;
  for (std::int64_t gadget : {GadgetFileFormat, GadgetSaveLocation, GadgetSelectFolder}) {
    DisableGadget(gadget, notSaved ? 1 : 0);
  }
  DisableGadget(GadgetPreview, Settings.ClipboardOn == 1 ? 1 : 0);
  DisableGadget(GadgetClipboard, Settings.PreviewOn == 1 ? 1 : 0);
  if (Settings.MenuIcon >= 0 && Settings.MenuIcon < 4) {
    SetGadgetState(GadgetMenuIcon, Settings.MenuIcon);
  }
  const std::string* stored[] = {&Settings.ShortKey1, &Settings.ShortKey2, &Settings.ShortKey3,
                                 &Settings.ShortKey4};
  for (int i = 0; i < 4; ++i) SetGadgetText(FirstShortcutField + i, *stored[i]);
  ShowSwitch(GadgetLogin, Settings.Login);
}

}  // namespace

void OpenPreferences() {
  // A second request brings the open window forward; rebuilding it would lose typed shortcuts.
  if (WindowExists(PreferencesWindow) != 0) {
    SetActiveGadget(GadgetFileFormat);
    return;
  }
  NewWindow(PreferencesWindow, 0, 0, WindowWidth, WindowHeight, "Preferences",
            WindowCloseButton | WindowCentred);
  SetWindowFloating(PreferencesWindow, 1);
  CentreOnPointerDisplay(PreferencesWindow);
  if (WindowExists(PreferencesWindow) != 0) SetMenuItemDisabled(StatusMenu, ItemPreferences, 1);
  NewFont(PreferencesFont, SystemFontFamily, 12);
  SetGadgetFont(DefaultFont, PreferencesFont);
  AddPreferencesGadgets(ResourcesFolder());
  // The window shows what is stored, not what may linger in memory.
  LoadSettings();
  ShowStoredSettings();
  // In front, with the keyboard.
  SetActiveGadget(GadgetFileFormat);
}

void ClosePreferences() {
  std::string* keys[] = {&Settings.ShortKey1, &Settings.ShortKey2, &Settings.ShortKey3,
                         &Settings.ShortKey4};
  const std::int64_t items[] = {ItemCaptureEntireScreen, ItemCaptureWindow, ItemCaptureSelection,
                                ItemOpenCaptureLocation};
  std::string texts[4];
  for (int i = 0; i < 4; ++i) {
    texts[i] = GetGadgetText(FirstShortcutField + i);
    const std::int32_t event = HotkeyEvent1 + i;
    if (texts[i].empty()) UnregisterHotkey("", event);
    WriteSetting("ShortKey" + std::to_string(i + 1), texts[i]);
  }
  for (int i = 0; i < 4; ++i) {
    *keys[i] = texts[i];
    const std::int32_t event = HotkeyEvent1 + i;
    UnregisterHotkey(texts[i], event);
    RegisterHotkey(texts[i], event);
    SetCaptureItemShortcut(items[i], texts[i]);
  }
  FreeImage(HelpIconImage);
  for (std::int64_t icon = FirstHelpIcon; icon <= LastHelpIcon; ++icon) FreeGadget(icon);
  ReleaseFont(PreferencesFont);
  DestroyWindow(PreferencesWindow);
  if (WindowExists(PreferencesWindow) == 0) SetMenuItemDisabled(StatusMenu, ItemPreferences, 0);
}
