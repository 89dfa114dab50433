#include <string_view>

#include "menu/menu_icon.h"
#include "menu/status_menu.h"
#include "platform/command_numbers.h"
#include "platform/toolkit.h"
#include "prefs/login_agent.h"
#include "prefs/preferences_window.h"
#include "prefs/save_folder.h"
#include "settings/derived_values.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "shortcuts/hotkey_list.h"

namespace {

// Flips an on/off setting and writes it. The checkbox and the option word follow only a value
// that was 0 or 1: any other stored value has no meaning to show.
void ToggleSwitch(std::int64_t gadget, std::int8_t SettingsRecord::*value, std::string_view key) {
  const std::int8_t old = Settings.*value;
  Settings.*value = static_cast<std::int8_t>(1 - old);
  if (old == 0 || old == 1) {
    SetGadgetState(gadget, Settings.*value);
    DeriveSwitchWords();
  }
  WriteSetting(key, Settings.*value);
}

// Clipboard and viewer captures are not saved, so they switch off the file settings, each
// other, and the location command with its hot key.
void ToggleUnsavedMode(std::int64_t gadget, std::int8_t SettingsRecord::*value,
                       std::string_view key, std::int64_t other) {
  const std::int8_t old = Settings.*value;
  ToggleSwitch(gadget, value, key);
  const bool on = Settings.*value == 1;
  if (old == 0 || old == 1) {
    for (std::int64_t g : {GadgetFileFormat, GadgetSaveLocation, other, GadgetSelectFolder}) {
      DisableGadget(g, on ? 1 : 0);
    }
  }
  SetMenuItemDisabled(StatusMenu, ItemOpenCaptureLocation, on ? 1 : 0);
  if (on) {
    UnregisterHotkey(Settings.ShortKey4, HotkeyEvent4);
  } else {
    RegisterHotkey(Settings.ShortKey4, HotkeyEvent4);
  }
}

// The entry is written or removed before the setting: when it cannot be, the box and the
// setting stay as they were rather than claim an entry that does not exist.
void ToggleLogin() {
  const auto wanted = static_cast<std::int8_t>(1 - Settings.Login);
  if (!ApplyLoginAgent(wanted != 0)) {
    SetGadgetState(GadgetLogin, Settings.Login == 1 ? 1 : 0);
    return;
  }
  Settings.Login = wanted;
  SetGadgetState(GadgetLogin, wanted);
  WriteSetting("Login", Settings.Login);
}

}  // namespace

void HandlePreferencesGadget(std::int64_t gadget, std::int64_t type) {
  const bool change = type == SubtypeChange;
  const std::int64_t index = GetGadgetState(gadget);
  switch (gadget) {
    case GadgetFileFormat:
      if (change && index >= 0 && index < 5) {
        Settings.FormatIndex = static_cast<std::int8_t>(index);
        DeriveFormatWords();
      }
      WriteSetting("FileFormat", index);
      break;
    case GadgetSaveLocation:
      if (index == 0) {
        DisableGadget(GadgetSelectFolder, 0);
        if (GetGadgetItemText(GadgetSaveLocation, 0) != "Choose...") {
          Settings.LastSavePath = Settings.DirPath;
        }
      }
      WriteSetting("FileLocation", index);
      break;
    case GadgetSelectFolder: ChooseSaveFolder(); break;
    case GadgetTimer:
      if (change) {
        Settings.TimerIndex = index;
        DeriveTimerSeconds();
      }
      WriteSetting("Timer", index);
      SetEntireScreenItemTimer(Settings.TimerSeconds);
      break;
    case GadgetSound: ToggleSwitch(gadget, &SettingsRecord::SoundOn, "SoundOn"); break;
    case GadgetShadow: ToggleSwitch(gadget, &SettingsRecord::ShadowOn, "ShadowOn"); break;
    case GadgetPointer: ToggleSwitch(gadget, &SettingsRecord::MouseOn, "MouseOn"); break;
    case GadgetClipboard:
      ToggleUnsavedMode(gadget, &SettingsRecord::ClipboardOn, "ClipboardOn", GadgetPreview);
      break;
    case GadgetPreview:
      ToggleUnsavedMode(gadget, &SettingsRecord::PreviewOn, "PreviewOn", GadgetClipboard);
      break;
    case GadgetLogin: ToggleLogin(); break;
    case GadgetMenuIcon:
      if (change && index >= 0 && index < 4) {
        Settings.MenuIcon = static_cast<std::int8_t>(index);
        SetGadgetState(GadgetMenuIcon, index);
      }
      WriteSetting("MenuIcon", index);
      ShowMenuIcon();
      break;
    default: break;  // labels and the shortcut fields report nothing to act on
  }
}
