#include "platform/files.h"
#include "settings/derived_values.h"
#include "settings/setting_keys.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"

void WriteFirstRunDefaults() {
  const std::string documents = DocumentsFolder();

  // The in-memory DirPath and DisplayPath stay as they are: the capture engine falls back to the
  // Documents folder while DirPath is empty, and the Preferences window loads them.
  for (const SettingKey& key : SettingKeys) {
    if (key.followsSaveLocation) continue;
    if (key.byte != nullptr) Settings.*key.byte = static_cast<std::int8_t>(key.firstRunInteger);
    if (key.wide != nullptr) Settings.*key.wide = key.firstRunInteger;
    if (key.text != nullptr) Settings.*key.text = std::string(key.firstRunText);
  }
  Settings.LastSavePath = documents;
  DeriveFormatWords();
  DeriveTimerSeconds();
  DeriveSwitchWords();

  for (const SettingKey& key : SettingKeys) {
    switch (key.kind) {
      case SettingKind::Integer: WriteSetting(key.name, key.firstRunInteger, Flush::Later); break;
      case SettingKind::Text: WriteSetting(key.name, key.firstRunText, Flush::Later); break;
      case SettingKind::Folder: WriteSetting(key.name, documents, Flush::Later); break;
    }
  }
  SynchronizeSettings();
}
