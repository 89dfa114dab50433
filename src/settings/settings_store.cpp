#include "settings/settings_store.h"

#include "platform/files.h"
#include "platform/user_defaults.h"
#include "settings/settings_record.h"

std::string PreferencesFilePath() {
  return UserDefaultsFilePath();
}

void OpenSettingsStore() {
  // A settings file that cannot be read as one starts the program on first-run values, which
  // then go nowhere.
  if (!OpenUserDefaults() || PathSize(PreferencesFilePath()) == PathCannotBeExamined) {
    WriteFirstRunDefaults();
  } else {
    LoadSettings();
  }
}

void CloseSettingsStore() {
  CloseUserDefaults();
}

std::string ReadStringSetting(std::string_view key) {
  return UserDefaultsString(key).value_or(std::string());
}

void WriteSetting(std::string_view key, std::int64_t value, Flush flush) {
  SetUserDefaultsInteger(key, value);
  if (flush == Flush::Now) SynchronizeUserDefaults();
}

void WriteSetting(std::string_view key, std::string_view value, Flush flush) {
  SetUserDefaultsString(key, value);
  if (flush == Flush::Now) SynchronizeUserDefaults();
}

void SynchronizeSettings() {
  SynchronizeUserDefaults();
}
