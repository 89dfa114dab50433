#pragma once

// One running copy per X display and user: a lock held for the life of the process.

#include <string>

#include "platform/process_fd.h"

class SingleInstanceLock {
 public:
  // Takes the lock for `display` (the DISPLAY value).
  explicit SingleInstanceLock(const std::string& display);
  // Whether another process holds it. A lock file that cannot be made refuses nobody.
  bool HeldElsewhere() const { return heldElsewhere_; }

 private:
  UniqueFd fd_;
  bool heldElsewhere_ = false;
};

// The lock file's path: $XDG_RUNTIME_DIR/vantorshot-<display>.lock, or under /tmp with the
// user id when the runtime folder is not set.
std::string SingleInstanceLockPath(const std::string& display);
