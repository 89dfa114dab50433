#pragma once

#include <string>
#include <string_view>

// Why a folder cannot take the file, or empty when it can.
std::string folderProblem(const std::string& path);

// Writes `bytes` to a hidden temporary file beside `path` and renames it over `path`, so
// readers see either no file or the whole file. Returns an error text, empty on success.
std::string writeFileAtomically(const std::string& path, std::string_view bytes);
