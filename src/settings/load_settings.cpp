#include <cstdint>

#include "platform/user_defaults.h"
#include "settings/derived_values.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"

namespace {

// The record keeps the low eight bits of these settings.
std::int8_t LowByte(std::string_view key) {
  return static_cast<std::int8_t>(UserDefaultsInteger(key));
}

}  // namespace

void LoadSettings() {
  Settings.FormatIndex = LowByte("FileFormat");
  const std::int64_t fileLocation = UserDefaultsInteger("FileLocation");
  Settings.TimerIndex = UserDefaultsInteger("Timer");
  Settings.SoundOn = LowByte("SoundOn");
  Settings.ShadowOn = LowByte("ShadowOn");
  Settings.MouseOn = LowByte("MouseOn");
  Settings.ClipboardOn = LowByte("ClipboardOn");
  Settings.PreviewOn = LowByte("PreviewOn");
  Settings.MenuIcon = LowByte("MenuIcon");
  Settings.ShortKey1 = ReadStringSetting("ShortKey1");
  Settings.ShortKey2 = ReadStringSetting("ShortKey2");
  Settings.ShortKey3 = ReadStringSetting("ShortKey3");
  Settings.ShortKey4 = ReadStringSetting("ShortKey4");
  Settings.Login = LowByte("Login");

  DeriveFormatWords();
  // A save location other than the first entry leaves the capture folder to the capture engine.
  if (fileLocation == 0) {
    Settings.DirPath = ReadStringSetting("DirPath");
    Settings.DisplayPath = ReadStringSetting("DisplayPath");
    Settings.LastSavePath = Settings.DirPath;
  }
  DeriveTimerSeconds();
  DeriveSwitchWords();
}
