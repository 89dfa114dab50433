#include "settings/settings_test_support.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <sstream>
#include <stdexcept>

#include "settings/settings_record.h"
#include "settings/settings_store.h"

extern char** environ;

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) close(fd_);
}

std::map<std::string, std::string> GeneralSection(const std::string& text) {
  std::map<std::string, std::string> keys;
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

ProbeProcess StartProbe(const std::vector<std::string>& arguments) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  FileDescriptor readEnd(pipeEnds[0]);
  FileDescriptor writeEnd(pipeEnds[1]);

  std::vector<std::string> words = {SETTINGS_PROBE_PATH};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), STDOUT_FILENO);
  pid_t pid = -1;
  const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) throw std::runtime_error("cannot start the probe");
  return ProbeProcess{pid, std::move(readEnd)};
}

std::map<std::string, std::string> ShowRecordInProbe() {
  ProbeProcess probe = StartProbe({"show"});
  std::string output;
  char buffer[4096];
  for (ssize_t got; (got = read(probe.output.get(), buffer, sizeof buffer)) != 0;) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) break;
    output.append(buffer, static_cast<std::size_t>(got));
  }
  int status = 0;
  waitpid(probe.pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "probe status " << status;

  // Fields are "Name=value", each ended by a NUL so that values may hold any other character.
  std::map<std::string, std::string> fields;
  std::size_t start = 0;
  for (std::size_t end; (end = output.find('\0', start)) != std::string::npos; start = end + 1) {
    const std::string field = output.substr(start, end - start);
    const std::size_t equals = field.find('=');
    fields[field.substr(0, equals)] = field.substr(equals + 1);
  }
  return fields;
}

void SettingsFilesTest::SetUp() { Settings = SettingsRecord{}; }

void SettingsFilesTest::TearDown() {
  CloseSettingsStore();
  Settings = SettingsRecord{};
}

std::filesystem::path SettingsFilesTest::SettingsFile() const {
  return temporary.SettingsFile();
}
