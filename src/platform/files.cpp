#include "platform/files.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "platform/process_fd.h"

namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

std::string PasswordHome() {
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
      found->pw_dir == nullptr) {
    return {};
  }
  return found->pw_dir;
}

// The value of one line XDG_DOCUMENTS_DIR="..." of user-dirs.dirs: a quoted shell word that is
// either absolute or starts with $HOME. Anything else names no folder.
std::optional<std::string> DocumentsDirValue(std::string_view line, const std::string& home) {
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  constexpr std::string_view name = "XDG_DOCUMENTS_DIR=\"";
  if (!line.starts_with(name)) return std::nullopt;
  line.remove_prefix(name.size());
  std::string value;
  bool closed = false;
  for (std::size_t i = 0; i < line.size() && !closed; ++i) {
    if (line[i] == '\\' && i + 1 < line.size()) {
      value += line[++i];
    } else if (line[i] == '"') {
      closed = true;
    } else {
      value += line[i];
    }
  }
  if (!closed) return std::nullopt;
  constexpr std::string_view homeWord = "$HOME";
  if (value.starts_with(homeWord) && (value.size() == homeWord.size() || value[5] == '/')) {
    if (home.empty()) return std::nullopt;
    return WithSlash(home.substr(0, home.size() - 1) + value.substr(homeWord.size()));
  }
  if (value.starts_with('/')) return WithSlash(value);
  return std::nullopt;
}

}  // namespace

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return WithSlash(home);
  return WithSlash(PasswordHome());
}

std::string ConfigFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return WithSlash(config);
  const std::string home = HomeFolder();
  return home.empty() ? std::string() : home + ".config/";
}

std::string DocumentsFolder() {
  const std::string home = HomeFolder();
  std::optional<std::string> named;
  const std::string config = ConfigFolder();
  if (!config.empty()) {
    std::ifstream dirs(config + "user-dirs.dirs");
    // As in the shell that reads this file, the last assignment wins.
    for (std::string line; std::getline(dirs, line);) {
      if (auto value = DocumentsDirValue(line, home)) named = std::move(value);
    }
  }
  if (named) return *named;
  return home.empty() ? std::string() : home + "Documents/";
}

std::int64_t PathSize(std::string_view path) {
  struct stat info {};
  if (path.empty() || stat(std::string(path).c_str(), &info) != 0) return PathCannotBeExamined;
  if (S_ISDIR(info.st_mode)) return PathIsFolder;
  return info.st_size;
}

bool CreateFolder(std::string_view path) {
  if (path.empty()) return false;
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path), error);
  return PathSize(path) == PathIsFolder;
}

bool WriteFileWhole(std::string_view path, std::string_view text) {
  const std::string target(path);
  std::string temporary = target + ".XXXXXX";
  UniqueFd file(mkstemp(temporary.data()));
  if (!file.Valid()) return false;
  // mkstemp makes the file private; the finished file gets what any new file of the user gets.
  const mode_t mask = umask(0);
  umask(mask);
  bool written =
      fchmod(file.Get(), 0666 & ~mask) == 0 && WriteAll(file.Get(), text) && fsync(file.Get()) == 0;
  written = close(file.Release()) == 0 && written;
  if (!written || rename(temporary.c_str(), target.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool RemoveFile(std::string_view path) {
  const std::string target(path);
  return unlink(target.c_str()) == 0 || errno == ENOENT;
}

std::string FileAddress(std::string_view path) {
  std::error_code error;
  const std::string absolute =
      std::filesystem::weakly_canonical(std::filesystem::absolute(path, error), error).string();
  static constexpr char Hex[] = "0123456789ABCDEF";
  std::string address = "file://";
  for (unsigned char c : absolute) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
    if (plain) {
      address += static_cast<char>(c);
    } else {
      address += '%';
      address += Hex[c >> 4];
      address += Hex[c & 0xF];
    }
  }
  return address;
}
