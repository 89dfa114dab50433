#pragma once

#include <vector>

#include "capture_request.h"
#include "display_crop.h"

// Takes the picture the request asks for through the desktop's screenshot portal, writes it as
// the X11 tool would and does the extras (sound, clipboard, viewer); the portal's own file is
// always removed. `displays` are the desktop's displays in its order, for -D. Problems are
// reported on stderr as one line. Returns the exit status (0 written, 1 cancelled, 2 failed).
int runPortalCapture(const CaptureRequest& request, const std::vector<DesktopDisplay>& displays);
