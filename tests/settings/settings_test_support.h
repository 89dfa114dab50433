#pragma once

// Real settings files for the settings tests: the record as texts, the keys a file holds, and
// the probe program that plays a second start of the program in a process of its own.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/process.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "support/support.h"

using Fields = std::map<std::string, std::string>;

// The field of every setting key, under the key's name, and what the program derives from them:
// TimerSeconds, Format (type option and extension), Words (the five option words in their
// order) and LastSavePath.
Fields RecordFields();
// The keys of the [General] section of an INI text with their raw values.
Fields GeneralSection(const std::string& text);
// The probe started with `parameters`, its output to be read.
ProcessHandle StartProbe(const std::string& parameters);
// The record as a second start of the program loads it.
Fields RecordOfASecondStart();

// Each test starts with an empty record in a fresh home and leaves the store closed.
class SettingsFilesTest : public ::testing::Test {
 protected:
  SettingsFilesTest() { Settings = SettingsRecord{}; }
  ~SettingsFilesTest() override {
    CloseSettingsStore();
    Settings = SettingsRecord{};
  }
  std::filesystem::path SettingsFile() const { return temporary.SettingsFile(); }
  std::string Documents() const { return temporary.home.string() + "/Documents/"; }

  TemporaryHome temporary;
};
