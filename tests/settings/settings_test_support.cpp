#include "settings/settings_test_support.h"

#include <sstream>

#include "settings/derived_values.h"
#include "settings/setting_keys.h"

Fields RecordFields() {
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

Fields GeneralSection(const std::string& text) {
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

ProcessHandle StartProbe(const std::string& parameters) {
  return StartProcess(SETTINGS_PROBE_PATH, parameters, "", ProcessKeep | ProcessReadOutput);
}

Fields RecordOfASecondStart() {
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
