#include "replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "file_descriptor.h"

namespace {

std::string systemError(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

}  // namespace

std::string replaceFile(const std::string& path, std::string_view bytes) {
  std::filesystem::path target(path);
  std::string folder = target.parent_path().empty() ? "." : target.parent_path().string();
  struct stat old {};
  bool existed = ::stat(path.c_str(), &old) == 0;
  if (existed && !S_ISREG(old.st_mode)) return "cannot write " + path + ": not a plain file";

  std::random_device random;
  std::string pending;
  FileDescriptor fd;
  for (int attempt = 0; attempt < 100 && !fd.valid(); ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, "/.%08x.vse-part", random());
    pending = folder + name;
    fd.reset(::open(pending.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666));
    if (!fd.valid() && errno != EEXIST) break;
  }
  if (!fd.valid()) return systemError("cannot create a file in " + folder);
  auto abandon = [&](const std::string& problem) {
    ::unlink(pending.c_str());
    return problem;
  };
  if (existed && ::fchmod(fd.get(), old.st_mode & 07777) != 0) {
    return abandon(systemError("cannot keep the permissions of " + path));
  }
  if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0) {
    return abandon(systemError("cannot write " + path));
  }
  if (!fd.reset()) return abandon(systemError("cannot write " + path));
  if (::rename(pending.c_str(), path.c_str()) != 0) {
    return abandon(systemError("cannot write " + path));
  }
  return {};
}
