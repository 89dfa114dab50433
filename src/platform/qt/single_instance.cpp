#include "platform/qt/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstdlib>

std::string SingleInstanceLockPath(const std::string& display) {
  // The display name may hold "/" (a socket path) or ":"; only the former is unusable.
  std::string name = display;
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/') {
    return std::string(runtime) + "/vantorshot-" + name + ".lock";
  }
  return "/tmp/vantorshot-" + std::to_string(getuid()) + "-" + name + ".lock";
}

SingleInstanceLock::SingleInstanceLock(const std::string& display) {
  UniqueFd fd(::open(SingleInstanceLockPath(display).c_str(),
                     O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (!fd.Valid()) return;
  // The kernel drops the lock when the process ends, however it ends.
  if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
    heldElsewhere_ = errno == EWOULDBLOCK;
    return;
  }
  fd_ = std::move(fd);
}
