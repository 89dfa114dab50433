#include "support/temporary_home.h"

TemporaryHome::TemporaryHome() {
  std::filesystem::create_directories(home);
  std::filesystem::create_directories(config);
}

std::filesystem::path TemporaryHome::SettingsFile() const {
  return config / "vantorshot" / "VantorShot.ini";
}

void TemporaryHome::WriteSettings(const std::string& lines) const {
  WriteWholeFile(SettingsFile(), "[General]\n" + lines);
}
