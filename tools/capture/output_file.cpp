#include "output_file.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <random>

#include "file_descriptor.h"

namespace {

constexpr int kMostNumberedNames = 10000;

std::string folderOf(const std::string& path) {
  std::string parent = std::filesystem::path(path).parent_path().string();
  return parent.empty() ? std::string(".") : parent;
}

std::string systemError(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

// "shot.png" -> "shot-2.png"
std::string numberedName(const std::string& path, int number) {
  std::filesystem::path p(path);
  std::string name = p.stem().string() + "-" + std::to_string(number) + p.extension().string();
  return (p.parent_path() / name).string();
}

// The name of a named temporary file, kept where a signal handler can remove it. Only file
// systems without unnamed files need one.
char pendingName[PATH_MAX];

void removePendingAndDie(int signal) {
  if (pendingName[0]) ::unlink(pendingName);
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

void removeOnQuitRequests(bool on) {
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::signal(signal, on ? removePendingAndDie : SIG_DFL);
}

// A file being written in `folder` that has no name yet (or, where the file system cannot do
// that, a hidden one that is removed on every way out), published under its final name only
// once it is complete.
class PendingFile {
 public:
  explicit PendingFile(const std::string& folder) {
    // Mode 0666 is narrowed by the umask, as for any new file.
    fd_.reset(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (fd_.valid() || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) return;
    // Quit requests wait while the name is made, so the handler only ever removes our file.
    sigset_t quitRequests;
    sigemptyset(&quitRequests);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&quitRequests, signal);
    sigset_t before;
    sigprocmask(SIG_BLOCK, &quitRequests, &before);
    std::random_device random;
    char name[PATH_MAX];
    for (int attempt = 0; attempt < 100 && !fd_.valid(); ++attempt) {
      std::snprintf(name, sizeof name, "%s/.vsc-%08x", folder.c_str(), random());
      fd_.reset(::open(name, O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666));
      if (!fd_.valid() && errno != EEXIST) break;
    }
    if (fd_.valid()) {
      std::memcpy(pendingName, name, sizeof name);
      removeOnQuitRequests(true);
    }
    sigprocmask(SIG_SETMASK, &before, nullptr);
  }
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile() {
    if (pendingName[0]) ::unlink(pendingName);
    forgetName();
  }

  int fd() const { return fd_.get(); }
  bool valid() const { return fd_.valid(); }

  // Gives the file the name `path` unless something already has it (errno EEXIST then).
  bool publish(const std::string& path) {
    if (pendingName[0]) {
      if (::renameat2(AT_FDCWD, pendingName, AT_FDCWD, path.c_str(), RENAME_NOREPLACE) != 0) {
        return false;
      }
      forgetName();
      return true;
    }
    std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
  }

  bool close() { return fd_.reset(); }

 private:
  static void forgetName() {
    pendingName[0] = '\0';
    removeOnQuitRequests(false);
  }

  FileDescriptor fd_;
};

}  // namespace

std::string outputProblem(const std::string& path) {
  std::string folder = folderOf(path);
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) return systemError("cannot use folder " + folder);
  if (!S_ISDIR(info.st_mode)) return "cannot use folder " + folder + ": not a folder";
  if (::lstat(path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return "cannot write " + path + ": it is a folder";
    if (S_ISLNK(info.st_mode)) return "cannot write " + path + ": it is a symbolic link";
    if (!S_ISREG(info.st_mode)) return "cannot write " + path + ": it is not a plain file";
    // Root may write anything, so the permission bits say what the owner meant.
    if ((info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0) {
      return "cannot write " + path + ": it is read-only";
    }
  }
  // Permission bits do not tell the whole story (read-only mounts), so try it.
  PendingFile probe(folder);
  if (!probe.valid()) return systemError("cannot write to folder " + folder);
  return {};
}

std::string writeNewFile(const std::string& path, std::string_view bytes, std::string& written) {
  PendingFile file(folderOf(path));
  if (!file.valid()) return systemError("cannot create a file in " + folderOf(path));
  if (!writeAll(file.fd(), bytes)) return systemError("cannot write " + path);
  for (int number = 1; number <= kMostNumberedNames; ++number) {
    written = number == 1 ? path : numberedName(path, number);
    if (file.publish(written)) {
      if (!file.close()) return systemError("cannot write " + written);
      return {};
    }
    if (errno != EEXIST) return systemError("cannot write " + written);
  }
  return "cannot write " + path + ": every numbered name up to " +
         std::to_string(kMostNumberedNames) + " is taken";
}

std::string saveCapture(const std::string& path, std::string_view bytes, std::string& written) {
  std::string problem = writeNewFile(path, bytes, written);
  if (problem.empty()) {
    std::printf("%s\n", written.c_str());
    std::fflush(stdout);
  }
  return problem;
}
