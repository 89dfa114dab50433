#pragma once

// One running copy per X display and user: a lock held for the life of the process, in a
// folder no other user can write.

#include <optional>
#include <string>

#include "platform/process_fd.h"

// The display's name as every client of it may spell it: ":N" for a local display (":N",
// ":N.S", "unix:N" and "unix:N.S" alike), "host:N" for another machine's.
std::string CanonicalDisplay(const std::string& display);

// The folder for this user's run-time files, ending in "/": $XDG_RUNTIME_DIR when it is a
// folder this user owns that no one else can write, else /tmp/vantorshot-<uid>/, made 0700 when
// missing. Nothing when neither can be had (the /tmp one taken by someone else).
std::optional<std::string> PrivateRuntimeFolder();

class SingleInstanceLock {
 public:
  enum class State { Held, HeldElsewhere, Unavailable };

  // Takes the lock for `display` (the DISPLAY value).
  explicit SingleInstanceLock(const std::string& display);
  State Status() const { return state_; }
  // The lock file's path; for Unavailable, what stood in the way.
  const std::string& Where() const { return where_; }

 private:
  UniqueFd fd_;
  State state_ = State::Unavailable;
  std::string where_;
};
