#pragma once

#include <cstdint>
#include <string>

// The file-name prefix of a capture kind: "vs_cap_full_", "vs_cap_window_" or "vs_cap_area_".
std::string CaptureNamePrefix(std::int8_t kind);

// folder + baseName + extension when no file or folder has that name yet; otherwise the first
// free name with "-2", "-3", ... before the extension, so that no capture replaces another.
std::string FreeOutputPath(const std::string& folder, const std::string& baseName,
                           const std::string& extension);
