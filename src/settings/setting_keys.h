#pragma once

// The sixteen persisted settings in one table: key name, kind, first-run value, the values the
// program gives a meaning, and the record field a load fills. First run, load and the tests
// walk it; the order is the order a first run writes them.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings_record.h"

enum class SettingKind {
  Integer,
  Text,
  Folder,  // a text whose first-run value is the user's Documents folder
};

struct SettingKey {
  std::string_view name;
  SettingKind kind;
  std::int64_t firstRunInteger = 0;
  std::string_view firstRunText;
  // An integer outside [lowest, highest] is kept as it is but derives nothing.
  std::int64_t lowest = 0;
  std::int64_t highest = 0;
  // The record field a load fills (at most one of them); the record keeps the low eight bits
  // of the byte-sized ones.
  std::int8_t SettingsRecord::*byte = nullptr;
  std::int64_t SettingsRecord::*wide = nullptr;
  std::string SettingsRecord::*text = nullptr;
  // Loaded only while FileLocation is 0, and left in memory untouched by a first run.
  bool followsSaveLocation = false;
};

inline constexpr std::array<SettingKey, 16> SettingKeys = {{
    {"Timer", SettingKind::Integer, 1, "", 0, 4, nullptr, &SettingsRecord::TimerIndex},
    {"FileFormat", SettingKind::Integer, 0, "", 0, 4, &SettingsRecord::FormatIndex},
    {"FileLocation", SettingKind::Integer, 0, "", 0, 0},
    {"MenuIcon", SettingKind::Integer, 1, "", 0, 3, &SettingsRecord::MenuIcon},
    {"SoundOn", SettingKind::Integer, 1, "", 0, 1, &SettingsRecord::SoundOn},
    {"ShadowOn", SettingKind::Integer, 1, "", 0, 1, &SettingsRecord::ShadowOn},
    {"MouseOn", SettingKind::Integer, 0, "", 0, 1, &SettingsRecord::MouseOn},
    {"ClipboardOn", SettingKind::Integer, 0, "", 0, 1, &SettingsRecord::ClipboardOn},
    {"PreviewOn", SettingKind::Integer, 0, "", 0, 1, &SettingsRecord::PreviewOn},
    {"Login", SettingKind::Integer, 0, "", 0, 1, &SettingsRecord::Login},
    {"ShortKey1", SettingKind::Text, 0, "", 0, 0, nullptr, nullptr, &SettingsRecord::ShortKey1},
    {"ShortKey2", SettingKind::Text, 0, "", 0, 0, nullptr, nullptr, &SettingsRecord::ShortKey2},
    {"ShortKey3", SettingKind::Text, 0, "", 0, 0, nullptr, nullptr, &SettingsRecord::ShortKey3},
    {"ShortKey4", SettingKind::Text, 0, "", 0, 0, nullptr, nullptr, &SettingsRecord::ShortKey4},
    {"DirPath", SettingKind::Folder, 0, "", 0, 0, nullptr, nullptr, &SettingsRecord::DirPath, true},
    {"DisplayPath", SettingKind::Text, 0, "Documents", 0, 0, nullptr, nullptr,
     &SettingsRecord::DisplayPath, true},
}};

// The row of a key; a name outside the table does not compile where it is used as a constant.
consteval const SettingKey& SettingKeyNamed(std::string_view name) {
  for (const SettingKey& key : SettingKeys) {
    if (key.name == name) return key;
  }
  throw "not a setting";
}

// Whether an integer setting holds a value the program gives a meaning.
constexpr bool SettingInRange(const SettingKey& key, std::int64_t value) {
  return value >= key.lowest && value <= key.highest;
}
