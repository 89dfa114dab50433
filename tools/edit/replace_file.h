#pragma once

#include <string>
#include <string_view>

// Puts `bytes` at `path` in one step: they are written to a hidden file beside it, flushed to
// the disk, and renamed over the old file only once complete, so a reader (or a crash) sees the
// old file or the new one and never part of either. The old file's permissions are kept.
// Returns an error text, empty on success.
std::string replaceFile(const std::string& path, std::string_view bytes);
