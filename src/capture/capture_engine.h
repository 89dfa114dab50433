#pragma once

#include <cstdint>
#include <string>

// Capture kinds: 1 the entire screen, 2 one window, any other value a selection.
inline constexpr std::int8_t CaptureEntireScreen = 1;
inline constexpr std::int8_t CaptureWindow = 2;
inline constexpr std::int8_t CaptureSelection = 3;

// One of the program's few process-wide records: " -D" and the 1-based number of the display
// chosen in the display picker, or empty. Kept from one capture to the next; only the picker
// changes it.
extern std::string DisplayOption;

enum class CaptureResult { Saved, Copied, Cancelled, Failed };

// How a capture ended: for Saved the file written, for Failed the reason the notification gave.
struct CaptureEnd {
  CaptureResult result = CaptureResult::Failed;
  std::string file;
  std::string why;
};

// Turns one request into one run of the capture tool and returns after the tool has ended,
// or at once when the user cancels the display choice or the countdown. Commands that come
// meanwhile on the command channel are served.
CaptureEnd RunCapture(std::int8_t kind);
