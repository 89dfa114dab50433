#pragma once

// Temporary folders, files and environment for the tests.

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// One environment variable changed for the life of the object; its old value, or its absence,
// comes back at the end.
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(std::string name) : name_(std::move(name)) {
    if (const char* value = getenv(name_.c_str())) saved_ = value;
  }
  ScopedEnvironment(std::string name, const std::string& value) : ScopedEnvironment(name) {
    Set(value);
  }
  ~ScopedEnvironment() { saved_ ? Set(*saved_) : Unset(); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  void Set(const std::string& value) { setenv(name_.c_str(), value.c_str(), 1); }
  void Unset() { unsetenv(name_.c_str()); }

 private:
  std::string name_;
  std::optional<std::string> saved_;
};

// Writes a whole file, making the folders above it; throws when it cannot be written.
void WriteWholeFile(const std::string& path, const std::string& text, unsigned mode = 0644);
// The contents of a file, or its lines without their line ends; nothing when it cannot be read.
std::string ReadWholeFile(const std::string& path);
std::vector<std::string> ReadLines(const std::string& path);

// A temporary folder, ending in "/", removed with everything in it when the test ends.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& Path() const { return path_; }
  // Writes a file below the folder (mode 0755 for scripts) and returns its path.
  std::string WriteFile(const std::string& name, const std::string& text, unsigned mode = 0644) {
    WriteWholeFile(path_ + name, text, mode);
    return path_ + name;
  }
  // Makes a folder below this one and returns its path, ending in "/".
  std::string MakeFolder(const std::string& name) {
    std::filesystem::create_directories(path_ + name);
    return path_ + name + "/";
  }

 private:
  std::string path_;
};

// A scratch folder with home/ and config/ in it, named by HOME and XDG_CONFIG_HOME for the life
// of the object, so that nothing a test runs reads or writes the real user's files.
class TemporaryHome {
 public:
  TemporaryHome() {
    std::filesystem::create_directories(home);
    std::filesystem::create_directories(config);
  }
  // The settings file the program keeps in the configuration folder.
  std::filesystem::path SettingsFile() const { return config / "vantorshot" / "VantorShot.ini"; }
  // Stores settings as an earlier run would have left them: `lines` in the [General] section.
  void WriteSettings(const std::string& lines) const {
    WriteWholeFile(SettingsFile(), "[General]\n" + lines);
  }

  ScratchFolder scratch;
  std::filesystem::path root{scratch.Path()}, home{root / "home"}, config{root / "config"};
  ScopedEnvironment homeVariable{"HOME", home.string()};
  ScopedEnvironment configVariable{"XDG_CONFIG_HOME", config.string()};
};
