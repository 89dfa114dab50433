#include "platform/qt/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// A folder this user owns that no one else can write into.
bool Private(const std::string& folder) {
  struct stat info {};
  return lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
         (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

}  // namespace

std::string CanonicalDisplay(const std::string& display) {
  const std::size_t colon = display.rfind(':');
  if (colon == std::string::npos) return display;
  std::string host = display.substr(0, colon);
  std::string number = display.substr(colon + 1);
  number = number.substr(0, number.find('.'));
  if (host == "unix") host.clear();
  return host + ":" + number;
}

std::optional<std::string> PrivateRuntimeFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/' && Private(runtime)) {
    return std::string(runtime) + (std::string(runtime).ends_with('/') ? "" : "/");
  }
  const std::string folder = "/tmp/vantorshot-" + std::to_string(getuid());
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return std::nullopt;
  if (!Private(folder)) return std::nullopt;
  return folder + "/";
}

SingleInstanceLock::SingleInstanceLock(const std::string& display) {
  const std::optional<std::string> folder = PrivateRuntimeFolder();
  if (!folder) {
    where_ = "/tmp/vantorshot-" + std::to_string(getuid()) + " belongs to someone else";
    return;
  }
  // The display name may hold "/" (a socket path), which a file name cannot.
  std::string name = CanonicalDisplay(display);
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  where_ = *folder + "vantorshot-" + name + ".lock";
  UniqueFd fd(::open(where_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (!fd.Valid()) {
    where_ += std::string(": ") + std::strerror(errno);
    return;
  }
  // The kernel drops the lock when the process ends, however it ends.
  if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
    state_ = errno == EWOULDBLOCK ? State::HeldElsewhere : State::Unavailable;
    return;
  }
  fd_ = std::move(fd);
  state_ = State::Held;
}
