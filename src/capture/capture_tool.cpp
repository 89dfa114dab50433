#include "capture/capture_tool.h"

#include <cstdlib>

#include "platform/executable_path.h"

std::string CaptureToolProgram() {
  const char* chosen = std::getenv("VANTORSHOT_CAPTURE_TOOL");
  if (chosen != nullptr && *chosen != '\0') return chosen;
  const std::string executable = ExecutablePath();
  const std::size_t slash = executable.find_last_of('/');
  if (slash == std::string::npos) return {};
  return executable.substr(0, slash + 1) + "vantorshot-capture";
}
