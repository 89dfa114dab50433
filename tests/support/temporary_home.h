#pragma once

#include <filesystem>
#include <string>

#include "support/scoped_environment.h"
#include "support/scratch_folder.h"

// A scratch folder with home/ and config/ in it, named by HOME and XDG_CONFIG_HOME for the life
// of the object, so that nothing a test runs reads or writes the real user's files.
class TemporaryHome {
 public:
  TemporaryHome();

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
