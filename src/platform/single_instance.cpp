#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/un.h>
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
    const std::string folder =
        std::string(runtime) + (std::string(runtime).ends_with('/') ? "" : "/");
    // A socket's address holds a path of limited length: a deeper folder cannot take one.
    if (folder.size() + SessionFileName(".socket").size() < sizeof(sockaddr_un{}.sun_path)) {
      return folder;
    }
  }
  const std::string folder = "/tmp/vantorshot-" + std::to_string(getuid());
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return std::nullopt;
  if (!Private(folder)) return std::nullopt;
  return folder + "/";
}

std::string SessionName() {
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  std::string name = display != nullptr && display[0] != '\0' ? CanonicalDisplay(display)
                     : wayland != nullptr                     ? std::string(wayland)
                                                              : std::string();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  return name;
}

std::string SessionFileName(std::string_view ending) {
  return "vantorshot-" + SessionName() + std::string(ending);
}

std::optional<std::string> CommandSocketPath() {
  const std::optional<std::string> folder = PrivateRuntimeFolder();
  if (!folder) return std::nullopt;
  std::string path = *folder + SessionFileName(".socket");
  if (path.size() >= sizeof(sockaddr_un{}.sun_path)) return std::nullopt;
  return path;
}

SingleInstanceLock::SingleInstanceLock(std::string_view purpose) {
  const std::optional<std::string> folder = PrivateRuntimeFolder();
  if (!folder) {
    where_ = "/tmp/vantorshot-" + std::to_string(getuid()) + " belongs to someone else";
    return;
  }
  if (!CommandSocketPath()) {
    where_ = "the socket path in " + *folder + " would be too long for this session's name";
    return;
  }
  where_ = *folder + SessionFileName(std::string(purpose) + ".lock");
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

std::string SingleInstanceLock::SocketPath() const {
  return CommandSocketPath().value_or(std::string());
}
