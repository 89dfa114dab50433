#pragma once

// What start-up asks of the desktop session it runs in.

#include <cstdint>
#include <string>

#include "platform/command_numbers.h"

class Host {
 public:
  virtual ~Host() = default;
  // Whether this session can run the program (on Linux: an X11 or a Wayland display).
  virtual bool Supported() = 0;
  // The sentence the unsupported-host alert shows.
  virtual std::string Requirement() = 0;
  // Hides the program from the task bar and the window switcher: it lives in the status area.
  virtual void BecomeAccessory() = 0;
  // Starts and stops the watch on the desktop's light/dark appearance; a change posts
  // AppearanceChangedEvent.
  virtual void ObserveAppearance(bool on) = 0;
  // The file name of the capture tool that reads this session's screen, found beside the
  // program: the X11 one unless the session needs another.
  virtual std::string CaptureToolName() { return "vantorshot-capture"; }
};

void InstallHost(Host* host);
Host* InstalledHost();
