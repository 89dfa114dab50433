#include "platform/program_location.h"

#include <unistd.h>

#include <cstdlib>
#include <vector>

std::string ExecutablePath() {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size()) {
      return std::string(buffer.data(), static_cast<std::size_t>(length));
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string ProgramFolder() {
  const std::string executable = ExecutablePath();
  const std::size_t slash = executable.find_last_of('/');
  return slash == std::string::npos ? std::string() : executable.substr(0, slash + 1);
}

std::string EditorProgram() {
  const char* chosen = std::getenv("VANTORSHOT_EDITOR");
  if (chosen != nullptr && *chosen != '\0') return chosen;
  return ProgramFolder() + "vantorshot-edit";
}

std::string ResourcesFolder() {
  return ProgramFolder() + "../share/vantorshot/";
}
