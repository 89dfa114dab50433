#pragma once

// The values derived from the settings: the capture tool's option words and the countdown
// length. A setting outside its range derives nothing, so the derived value keeps what it held.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings_record.h"

struct FormatWords {
  std::string_view option;     // the capture tool's type option
  std::string_view extension;  // the file name's extension
};

// By FormatIndex: PNG, JPEG, TIFF, BMP, PDF.
inline constexpr std::array<FormatWords, 5> FormatTable = {{
    {"-t png", ".png"},
    {"-t jpg", ".jpeg"},
    {"-t tiff", ".tiff"},
    {"-t bmp", ".bmp"},
    {"-t pdf", ".pdf"},
}};

// By TimerIndex.
inline constexpr std::array<std::uint8_t, 5> TimerSecondsTable = {0, 3, 5, 10, 15};

// An on/off setting and the option word it puts on the command line when it holds wordWhen.
struct SwitchWord {
  std::int8_t SettingsRecord::*value;
  std::string SettingsRecord::*option;
  std::int8_t wordWhen;
  std::string_view word;
};

// Sound and shadow are on by default, so it is their 0 that adds an option.
inline constexpr std::array<SwitchWord, 5> SwitchTable = {{
    {&SettingsRecord::SoundOn, &SettingsRecord::SoundOption, 0, " -x"},
    {&SettingsRecord::ShadowOn, &SettingsRecord::ShadowOption, 0, " -o"},
    {&SettingsRecord::MouseOn, &SettingsRecord::PointerOption, 1, " -C"},
    {&SettingsRecord::ClipboardOn, &SettingsRecord::ClipboardOption, 1, " -c"},
    {&SettingsRecord::PreviewOn, &SettingsRecord::PreviewOption, 1, " -P"},
}};

// FormatOption and FileExtension from FormatIndex 0 to 4.
void DeriveFormatWords();
// TimerSeconds from TimerIndex 0 to 4.
void DeriveTimerSeconds();
// The five option words, in table order, each from its setting when that is 0 or 1. A checkbox
// that flips one setting calls this after the flip.
void DeriveSwitchWords();
