#pragma once

#include <string_view>

// A capture asked for on the command line with no copy running: taken with the stored
// settings, told as usual; the exit status is 0 saved, 1 cancelled, 2 failed. `command` is the
// channel's ("capture screen", "capture window", "capture selection").
int RunOneCapture(std::string_view command);
