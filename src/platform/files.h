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

// Writes `text` as the whole content of the file at path: into a new file beside it that then
// takes its name, so that the file is never seen half written. New files take the user's
// umask. False (and nothing changed) on any failure.
bool WriteFileWhole(std::string_view path, std::string_view text);

// Removes the file at path; true when no file is there afterwards (also when there was none).
bool RemoveFile(std::string_view path);

// The file:// address of a path, made absolute and free of "." and ".." parts, with every
// byte outside the unreserved characters and "/" percent-encoded.
std::string FileAddress(std::string_view path);
