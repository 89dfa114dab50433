#pragma once

#include <string_view>

// A capture asked for on the command line with no copy running: taken with the stored
// settings, told as usual and on the terminal; the exit status is 0 saved or copied, 1
// cancelled, 2 failed, 3 when another such capture is underway in the session. `command` is
// the channel's ("capture screen", "capture window", "capture selection").
int RunOneCapture(std::string_view command);
