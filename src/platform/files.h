#pragma once

// The user's folders and the size of a path: what the settings, the capture folder and the
// login agent ask of the file system.

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr std::int64_t PathCannotBeExamined = -1;
inline constexpr std::int64_t PathIsFolder = -2;

// The current user's home folder, ending in "/"; empty when the system names none.
std::string HomeFolder();

// The folder in which programs keep the user's configuration ($XDG_CONFIG_HOME when it is an
// absolute path, else the home folder's ".config/"), ending in "/"; empty when it has no home.
std::string ConfigFolder();

// The user's Documents folder as the desktop names it, ending in "/"; the home folder's
// "Documents/" when the desktop names none. Nothing is created.
std::string DocumentsFolder();

// The size in bytes of the file at path (following links), PathIsFolder for a folder, or
// PathCannotBeExamined when it does not exist or cannot be reached.
std::int64_t PathSize(std::string_view path);

// Creates the folder and any missing parents; true when the folder exists afterwards.
bool CreateFolder(std::string_view path);
