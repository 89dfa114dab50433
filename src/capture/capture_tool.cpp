#include "capture/capture_tool.h"

#include <cstdlib>

#include "platform/host.h"
#include "platform/program_location.h"

std::string CaptureToolProgram() {
  const char* chosen = std::getenv("VANTORSHOT_CAPTURE_TOOL");
  if (chosen != nullptr && *chosen != '\0') return chosen;
  const std::string folder = ProgramFolder();
  if (folder.empty()) return {};
  Host* host = InstalledHost();
  return folder + (host != nullptr ? host->CaptureToolName() : std::string("vantorshot-capture"));
}
