#pragma once

#include <optional>
#include <string>
#include <string_view>

// The absolute path of `path` when it names a regular file this process can read; nothing
// otherwise, with the reason in `why`.
std::optional<std::string> ReadableFile(std::string_view path, std::string& why);
