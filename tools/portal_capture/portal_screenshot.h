#pragma once

// One call of the desktop's screenshot portal (org.freedesktop.portal.Screenshot) on the session
// bus, waited for in a local event loop.

#include <string>

struct PortalAnswer {
  enum class Result { Taken, Cancelled, Refused, Unavailable, Stopped };
  Result result = Result::Unavailable;
  std::string file;  // the portal's picture (a PNG of the whole desktop), for Taken
  std::string problem;
  int signal = 0;  // the quit request that stopped the wait, for Stopped
};

// Interactive lets the desktop's own picker choose what to take, where it has one, for as long
// as the user takes; otherwise a portal that has not answered within a few seconds never will.
// A quit request (SIGTERM, SIGINT, SIGHUP) meanwhile withdraws the request and gives Stopped.
PortalAnswer TakePortalScreenshot(bool interactive);
