#pragma once

// How the command line tells the outcome of a capture, the same whether the running copy or
// this process took it: the saved file's path on standard output (nothing for a capture only
// copied), "Capture cancelled" or the failure on standard error, and the exit status.

#include <string>
#include <string_view>

#include "capture/capture_engine.h"

inline constexpr int StatusDone = 0;
inline constexpr int StatusCancelled = 1;
inline constexpr int StatusFailed = 2;
inline constexpr int StatusBusy = 3;

// The outcome as one line on the command channel, and back.
std::string CaptureAnswer(const CaptureEnd& end);
CaptureEnd CaptureEndFromAnswer(std::string_view answer);

// Prints the outcome and returns the exit status.
int TellCaptureEnd(const CaptureEnd& end);
// The same for a capture refused because another one is underway.
int TellCaptureBusy();
