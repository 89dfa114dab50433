#pragma once

// The Linux desktop, installed for the life of the object: the Qt toolkit, requesters, hot keys
// and host on X11 when an X display can be opened, else on Wayland when a Wayland display can
// (hot keys through the desktop's portal); without either, only what start-up needs to say so
// (alerts on the standard error stream, an unsupported host).

#include <memory>

class DesktopPlatform {
 public:
  // A resident copy holds the session's lock and takes commands from other copies; one started
  // for a single command (a capture from the command line) does neither.
  enum class Role { Resident, OneCommand };
  DesktopPlatform(int& argc, char** argv, Role role);
  ~DesktopPlatform();
  DesktopPlatform(const DesktopPlatform&) = delete;
  DesktopPlatform& operator=(const DesktopPlatform&) = delete;

  // Whether this copy is the one for its display: Run; AlreadyRunning when another copy has
  // the display (this one ends at once, quietly); Refused when the lock that keeps one copy
  // per display cannot be had at all (said on the standard error stream).
  enum class Start { Run, AlreadyRunning, Refused };
  Start HowToStart() const;

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};
