// Settings files of any content: loaded and checked without a crash, and left byte for byte
// as they were.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "settings/settings_record.h"
#include "settings/settings_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string config = [] {
    char folder[] = "/tmp/vantorshot-fuzz.XXXXXX";
    const std::string made = mkdtemp(folder);
    setenv("XDG_CONFIG_HOME", made.c_str(), 1);
    std::filesystem::create_directories(made + "/vantorshot");
    return made + "/vantorshot/VantorShot.ini";
  }();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::ofstream(config, std::ios::binary | std::ios::trunc) << bytes;
  Settings = SettingsRecord{};
  OpenSettingsStore();
  CloseSettingsStore();
  std::stringstream after;
  after << std::ifstream(config, std::ios::binary).rdbuf();
  if (after.str() != bytes) std::abort();
  return 0;
}
