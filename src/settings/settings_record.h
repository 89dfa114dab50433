#pragma once

#include <cstdint>
#include <string>

// The in-memory copy of the settings with the values derived from them. Process-wide; the main
// thread alone reads and writes it.
struct SettingsRecord {
  std::int64_t TimerIndex = 0;
  std::uint8_t TimerSeconds = 0;
  std::int8_t FormatIndex = 0;
  std::string FormatOption;
  std::string FileExtension;
  std::int8_t MenuIcon = 0;
  std::int8_t SoundOn = 0;
  std::int8_t ShadowOn = 0;
  std::int8_t MouseOn = 0;
  std::int8_t ClipboardOn = 0;
  std::int8_t PreviewOn = 0;
  std::int8_t Login = 0;
  // Option words of the capture tool's command line, each with its own leading blank.
  std::string SoundOption;
  std::string ShadowOption;
  std::string PointerOption;
  std::string ClipboardOption;
  std::string PreviewOption;
  std::string ShortKey1;
  std::string ShortKey2;
  std::string ShortKey3;
  std::string ShortKey4;
  std::string DirPath;
  std::string DisplayPath;
  std::string LastSavePath;
};

extern SettingsRecord Settings;
