#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

#include "file_descriptor.h"

namespace {

std::string folderOf(const std::string& path) {
  std::string parent = std::filesystem::path(path).parent_path().string();
  return parent.empty() ? std::string(".") : parent;
}

std::string systemError(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

// A hidden file beside `path`, open for writing; its name is left in `name`.
int createTemporaryBeside(const std::string& path, std::string& name) {
  name = (std::filesystem::path(folderOf(path)) /
          ("." + std::filesystem::path(path).filename().string() + ".XXXXXX"))
             .string();
  return ::mkstemp(name.data());
}

mode_t currentUmask() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

}  // namespace

std::string folderProblem(const std::string& path) {
  std::string folder = folderOf(path);
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) return systemError("cannot use folder " + folder);
  if (!S_ISDIR(info.st_mode)) return "cannot use folder " + folder + ": not a folder";
  if (::access(folder.c_str(), W_OK | X_OK) != 0) {
    return systemError("cannot write to folder " + folder);
  }
  if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    return "cannot write " + path + ": it is a folder";
  }
  // Permission bits do not tell the whole story (read-only mounts, root), so try it.
  std::string probe;
  FileDescriptor file(createTemporaryBeside(path, probe));
  if (!file.valid()) return systemError("cannot write to folder " + folder);
  ::unlink(probe.c_str());
  return {};
}

std::string writeFileAtomically(const std::string& path, std::string_view bytes) {
  std::string temporary;
  FileDescriptor file(createTemporaryBeside(path, temporary));
  if (!file.valid()) return systemError("cannot create a file in " + folderOf(path));

  auto fail = [&](const std::string& what) {
    std::string message = systemError(what);
    ::unlink(temporary.c_str());
    return message;
  };
  // mkstemp makes the file private; a capture gets the permissions of any new file.
  if (::fchmod(file.get(), 0666 & ~currentUmask()) != 0) return fail("cannot set permissions");
  if (!writeAll(file.get(), bytes)) return fail("cannot write " + path);
  if (!file.reset()) return fail("cannot write " + path);
  if (::rename(temporary.c_str(), path.c_str()) != 0) return fail("cannot write " + path);
  return {};
}
