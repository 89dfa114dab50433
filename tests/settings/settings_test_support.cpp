#include "settings/settings_test_support.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <sstream>
#include <stdexcept>

#include "settings/derived_values.h"
#include "settings/setting_keys.h"

extern char** environ;

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
    if (line.starts_with('[')) {
      general = line == "[General]";
    } else if (const std::size_t equals = line.find('='); general && equals != std::string::npos) {
      keys[line.substr(0, equals)] = line.substr(equals + 1);
    }
  }
  return keys;
}

Probe StartProbe(const std::vector<std::string>& arguments) {
  PipeEnds output;
  if (!OpenPipe(output)) throw std::runtime_error("no pipe for the probe");
  std::vector<std::string> words = {SETTINGS_PROBE_PATH};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output.write.Get(), STDOUT_FILENO);
  Probe probe;
  const int failed = posix_spawn(&probe.pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) throw std::runtime_error("cannot start the probe");
  probe.output = std::move(output.read);
  return probe;
}

Fields RecordOfASecondStart() {
  Probe probe = StartProbe({"show"});
  std::string output;
  char buffer[4096];
  for (ssize_t got; (got = read(probe.output.Get(), buffer, sizeof buffer)) != 0;) {
    if (got < 0 && errno != EINTR) break;
    if (got > 0) output.append(buffer, static_cast<std::size_t>(got));
  }
  int status = 0;
  waitpid(probe.pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "probe status " << status;
  // Each field is "Name=value" and a NUL, so that values may hold any other character.
  Fields fields;
  for (std::size_t start = 0, end; (end = output.find('\0', start)) != std::string::npos;
       start = end + 1) {
    const std::string field = output.substr(start, end - start);
    const std::size_t equals = field.find('=');
    fields[field.substr(0, equals)] = field.substr(equals + 1);
  }
  return fields;
}
