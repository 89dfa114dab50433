#pragma once

// The sixteen persisted settings: key names, types and first-run values, in the order a first
// run writes them.

#include <array>
#include <cstdint>
#include <string_view>

enum class SettingType {
  Integer,
  Text,
  Folder,  // a text whose first-run value is the user's Documents folder
};

struct SettingKey {
  std::string_view name;
  SettingType type;
  std::int64_t firstRunInteger;
  std::string_view firstRunText;
};

inline constexpr std::array<SettingKey, 16> SettingKeys = {{
    {"Timer", SettingType::Integer, 1, ""},
    {"FileFormat", SettingType::Integer, 0, ""},
    {"FileLocation", SettingType::Integer, 0, ""},
    {"MenuIcon", SettingType::Integer, 1, ""},
    {"SoundOn", SettingType::Integer, 1, ""},
    {"ShadowOn", SettingType::Integer, 1, ""},
    {"MouseOn", SettingType::Integer, 0, ""},
    {"ClipboardOn", SettingType::Integer, 0, ""},
    {"PreviewOn", SettingType::Integer, 0, ""},
    {"Login", SettingType::Integer, 0, ""},
    {"ShortKey1", SettingType::Text, 0, ""},
    {"ShortKey2", SettingType::Text, 0, ""},
    {"ShortKey3", SettingType::Text, 0, ""},
    {"ShortKey4", SettingType::Text, 0, ""},
    {"DirPath", SettingType::Folder, 0, ""},
    {"DisplayPath", SettingType::Text, 0, "Documents"},
}};

// The first-run value of an integer key of the table; a name outside the table does not compile.
consteval std::int64_t FirstRunInteger(std::string_view name) {
  for (const SettingKey& key : SettingKeys) {
    if (key.name == name && key.type == SettingType::Integer) return key.firstRunInteger;
  }
  throw "not an integer setting";
}
