#include "capture/date_stamp.h"

#include <cstdlib>

#include "platform/process.h"

std::string DateProgram() {
  const char* chosen = std::getenv("VANTORSHOT_DATE_PROGRAM");
  return chosen != nullptr && *chosen != '\0' ? std::string(chosen) : std::string("/bin/date");
}

std::string MakeDateStamp() {
  const ProcessHandle date =
      StartProcess(DateProgram(), "  +%Y-%d-%m-%I%M%S", "", ProcessKeep | ProcessReadOutput);
  if (!date) return {};
  std::string stamp;
  for (const std::string& line : WaitForProcessEnd(date)) stamp += line;
  return stamp;
}
