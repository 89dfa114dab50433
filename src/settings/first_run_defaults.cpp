#include "platform/files.h"
#include "settings/derived_values.h"
#include "settings/setting_keys.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"

void WriteFirstRunDefaults() {
  const std::string documents = DocumentsFolder();

  // The in-memory DirPath and DisplayPath stay as they are: the capture engine falls back to the
  // Documents folder while DirPath is empty, and the Preferences window loads them.
  Settings.TimerIndex = FirstRunInteger("Timer");
  Settings.FormatIndex = FirstRunInteger("FileFormat");
  Settings.MenuIcon = FirstRunInteger("MenuIcon");
  Settings.SoundOn = FirstRunInteger("SoundOn");
  Settings.ShadowOn = FirstRunInteger("ShadowOn");
  Settings.MouseOn = FirstRunInteger("MouseOn");
  Settings.ClipboardOn = FirstRunInteger("ClipboardOn");
  Settings.PreviewOn = FirstRunInteger("PreviewOn");
  Settings.Login = FirstRunInteger("Login");
  Settings.ShortKey1.clear();
  Settings.ShortKey2.clear();
  Settings.ShortKey3.clear();
  Settings.ShortKey4.clear();
  Settings.LastSavePath = documents;
  DeriveFormatWords();
  DeriveTimerSeconds();
  DeriveSwitchWords();

  for (const SettingKey& key : SettingKeys) {
    switch (key.type) {
      case SettingType::Integer:
        WriteSetting(key.name, key.firstRunInteger, Flush::Later);
        break;
      case SettingType::Text:
        WriteSetting(key.name, key.firstRunText, Flush::Later);
        break;
      case SettingType::Folder:
        WriteSetting(key.name, documents, Flush::Later);
        break;
    }
  }
  SynchronizeSettings();
}
