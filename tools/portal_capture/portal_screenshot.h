#pragma once

// One call of the desktop's screenshot portal (org.freedesktop.portal.Screenshot) on the session
// bus, waited for in a local event loop.

#include <string>

struct PortalAnswer {
  enum class Result { Taken, Cancelled, Refused, Unavailable };
  Result result = Result::Unavailable;
  std::string file;  // the portal's picture (a PNG of the whole desktop), for Taken
  std::string problem;
};

// Interactive lets the desktop's own picker choose what to take, where it has one.
PortalAnswer TakePortalScreenshot(bool interactive);
