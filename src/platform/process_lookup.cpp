#include "platform/process_lookup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

bool IsStartableFile(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return false;
  if (S_ISDIR(info.st_mode) || info.st_size <= 0) return false;
  return access(path.c_str(), X_OK) == 0;
}

}  // namespace

bool ProgramFound(std::string_view program) {
  const std::string name(program);
  if (name.empty()) return false;
  if (name.find('/') != std::string::npos && IsStartableFile(name)) return true;
  if (name.front() == '/' || name.starts_with("./")) return false;
  const char* path = std::getenv("PATH");
  if (path == nullptr) return false;
  const std::string_view elements(path);
  std::size_t start = 0;
  while (start <= elements.size()) {
    std::size_t end = elements.find(':', start);
    if (end == std::string_view::npos) end = elements.size();
    const std::string_view element = elements.substr(start, end - start);
    if (!element.empty()) {
      std::string candidate(element);
      if (candidate.back() != '/') candidate += '/';
      if (IsStartableFile(candidate + name)) return true;
    }
    start = end + 1;
  }
  return false;
}
