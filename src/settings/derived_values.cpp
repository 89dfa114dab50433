#include "settings/derived_values.h"

void DeriveFormatWords() {
  if (Settings.FormatIndex < 0 || Settings.FormatIndex >= std::ssize(FormatTable)) return;
  const FormatWords& format = FormatTable[static_cast<std::size_t>(Settings.FormatIndex)];
  Settings.FormatOption = format.option;
  Settings.FileExtension = format.extension;
}

void DeriveTimerSeconds() {
  // Taken as unsigned, so a negative index is out of range like any large one.
  const auto index = static_cast<std::uint64_t>(Settings.TimerIndex);
  if (index < TimerSecondsTable.size()) Settings.TimerSeconds = TimerSecondsTable[index];
}

void DeriveSwitchWords() {
  for (const SwitchWord& entry : SwitchTable) {
    const std::int8_t value = Settings.*entry.value;
    if (value != 0 && value != 1) continue;
    Settings.*entry.option = value == entry.wordWhen ? std::string(entry.word) : std::string();
  }
}
