#pragma once

// The record as texts, the keys a settings file holds, and the probe: a second start.

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "platform/process.h"
#include "settings/derived_values.h"
#include "settings/setting_keys.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "support/support.h"

using Fields = std::map<std::string, std::string>;

// The field of every setting key, under the key's name, and what the program derives from them:
// TimerSeconds, Format (type option and extension), Words (the five option words in their
// order) and LastSavePath.
inline Fields RecordFields() {
  Fields fields;
  for (const SettingKey& key : SettingKeys) {
    if (key.byte != nullptr) fields[std::string(key.name)] = std::to_string(Settings.*key.byte);
    if (key.wide != nullptr) fields[std::string(key.name)] = std::to_string(Settings.*key.wide);
    if (key.text != nullptr) fields[std::string(key.name)] = Settings.*key.text;
  }
  fields["TimerSeconds"] = std::to_string(Settings.TimerSeconds);
  fields["Format"] = Settings.FormatOption + " " + Settings.FileExtension;
  for (const SwitchWord& entry : SwitchTable) fields["Words"] += Settings.*entry.option;
  fields["LastSavePath"] = Settings.LastSavePath;
  return fields;
}

// The keys of the [General] section of an INI text with their raw values.
inline Fields GeneralSection(const std::string& text) {
  Fields keys;
  std::istringstream lines(text);
  bool general = false;
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with('[')) general = line == "[General]";
    const std::size_t equals = line.find('=');
    if (general && equals != std::string::npos)
      keys[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return keys;
}

// The probe started with `parameters`, its output to be read.
inline ProcessHandle StartProbe(const std::string& parameters) {
  return StartProcess(SETTINGS_PROBE_PATH, parameters, "", ProcessKeep | ProcessReadOutput);
}

// The record as a second start of the program loads it.
inline Fields RecordOfASecondStart() {
  // Each field is "Name=value" and a NUL, so that values may hold line feeds.
  std::string output;
  for (const std::string& line : WaitForProcessEnd(StartProbe("show"))) output += line + "\n";
  Fields fields;
  for (std::size_t start = 0, end; (end = output.find('\0', start)) != std::string::npos;
       start = end + 1) {
    const std::string field = output.substr(start, end - start);
    fields[field.substr(0, field.find('='))] = field.substr(field.find('=') + 1);
  }
  return fields;
}

// Each test starts with an empty record in a fresh home and leaves the store closed.
class SettingsFilesTest : public ::testing::Test {
 protected:
  SettingsFilesTest() { Settings = SettingsRecord{}; }
  ~SettingsFilesTest() override {
    CloseSettingsStore();
    Settings = SettingsRecord{};
  }
  std::filesystem::path SettingsFile() const { return temporary.SettingsFile(); }

  TemporaryHome temporary;
  std::string documents = temporary.home.string() + "/Documents/";
};
