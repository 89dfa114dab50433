#include "platform/readable_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/process_fd.h"

std::optional<std::string> ReadableFile(std::string_view path, std::string& why) {
  const std::string name(path);
  // Opened, not just looked at: the permission that counts is the one reading meets.
  const UniqueFd file(open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat info {};
  if (!file.Valid() || fstat(file.Get(), &info) != 0) {
    why = std::strerror(errno);
    return std::nullopt;
  }
  if (!S_ISREG(info.st_mode)) {
    why = "not a file";
    return std::nullopt;
  }
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(name, error);
  if (error) {
    why = error.message();
    return std::nullopt;
  }
  return absolute.lexically_normal().string();
}
