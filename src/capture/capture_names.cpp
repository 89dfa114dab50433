#include "capture/capture_names.h"

#include "capture/capture_engine.h"
#include "platform/files.h"

std::string CaptureNamePrefix(std::int8_t kind) {
  if (kind == CaptureEntireScreen) return "vs_cap_full_";
  if (kind == CaptureWindow) return "vs_cap_window_";
  return "vs_cap_area_";
}

std::string FreeOutputPath(const std::string& folder, const std::string& baseName,
                           const std::string& extension) {
  std::string path = folder + baseName + extension;
  for (int counter = 2; PathSize(path) != PathCannotBeExamined; ++counter) {
    path = folder + baseName + "-" + std::to_string(counter) + extension;
  }
  return path;
}
