#pragma once

// One running copy per desktop session and user: a lock held for the life of the process, in a
// folder no other user can write; beside it the socket on which that copy takes commands.

#include <optional>
#include <string>
#include <string_view>

#include "platform/process_fd.h"

// The X display's name as every client of it may spell it: ":N" for a local display (":N",
// ":N.S", "unix:N" and "unix:N.S" alike), "host:N" for another machine's.
std::string CanonicalDisplay(const std::string& display);

// The session this copy belongs to: the X display's canonical name when DISPLAY is set, else
// the Wayland display's name; "/" (a socket path) becomes "_".
std::string SessionName();

// "vantorshot-<session>" and `ending`: the name of a run-time file of this session.
std::string SessionFileName(std::string_view ending);

// The folder for this user's run-time files, ending in "/": $XDG_RUNTIME_DIR when it is a
// folder this user owns that no one else can write and short enough to hold the session's
// socket, else /tmp/vantorshot-<uid>/, made 0700 when missing. Nothing when neither can be had
// (the /tmp one taken by someone else). The program and its command line find the same place.
std::optional<std::string> PrivateRuntimeFolder();

// Where the session's running copy listens for commands; nothing when no private folder gives
// a path short enough.
std::optional<std::string> CommandSocketPath();

class SingleInstanceLock {
 public:
  enum class State { Held, HeldElsewhere, Unavailable };

  // Takes the lock for this session; another `purpose` ("-capture") is another lock.
  explicit SingleInstanceLock(std::string_view purpose = "");
  State Status() const { return state_; }
  // The lock file's path; for Unavailable, what stood in the way.
  const std::string& Where() const { return where_; }
  // Where the holder listens for commands.
  std::string SocketPath() const;

 private:
  UniqueFd fd_;
  State state_ = State::Unavailable;
  std::string where_;
};
