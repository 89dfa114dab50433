#include "capture/capture_tool.h"

#include <cstdlib>

#include "platform/program_location.h"

std::string CaptureToolProgram() {
  const char* chosen = std::getenv("VANTORSHOT_CAPTURE_TOOL");
  if (chosen != nullptr && *chosen != '\0') return chosen;
  const std::string folder = ProgramFolder();
  return folder.empty() ? std::string() : folder + "vantorshot-capture";
}
