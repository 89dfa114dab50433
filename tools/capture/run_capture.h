#pragma once

#include "capture_request.h"

// Exit statuses of the tool.
inline constexpr int kExitWritten = 0;
inline constexpr int kExitCancelled = 1;
inline constexpr int kExitFailed = 2;

// Takes the picture the request asks for, writes it and does the extras (sound, clipboard,
// viewer). Problems are reported on stderr as one line. Returns the exit status.
int runCapture(const CaptureRequest& request);
