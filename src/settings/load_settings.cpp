#include "platform/user_defaults.h"
#include "settings/derived_values.h"
#include "settings/setting_keys.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"

void LoadSettings() {
  // Read afresh: the file may have been edited by hand since it was opened.
  SynchronizeSettings();
  // A save location other than the first entry leaves the capture folder to the capture engine.
  const bool folderInForce = UserDefaultsInteger("FileLocation") == 0;
  for (const SettingKey& key : SettingKeys) {
    if (key.followsSaveLocation && !folderInForce) continue;
    if (key.byte != nullptr) {
      Settings.*key.byte = static_cast<std::int8_t>(UserDefaultsInteger(key.name));
    }
    if (key.wide != nullptr) Settings.*key.wide = UserDefaultsInteger(key.name);
    if (key.text != nullptr) Settings.*key.text = ReadStringSetting(key.name);
  }
  if (folderInForce) Settings.LastSavePath = Settings.DirPath;
  DeriveFormatWords();
  DeriveTimerSeconds();
  DeriveSwitchWords();
}
