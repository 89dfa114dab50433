#pragma once

// The Linux desktop, installed for the life of the object: the Qt toolkit, requesters, X11 hot
// keys and host when an X display can be opened; without one, only what start-up needs to say
// so (alerts on the standard error stream, an unsupported host).

#include <memory>

class DesktopPlatform {
 public:
  DesktopPlatform(int& argc, char** argv);
  ~DesktopPlatform();
  DesktopPlatform(const DesktopPlatform&) = delete;
  DesktopPlatform& operator=(const DesktopPlatform&) = delete;

  // False when another copy already runs on this display: this one should end at once.
  bool FirstInstance() const;

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};
