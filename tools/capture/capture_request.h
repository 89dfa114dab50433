#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class ImageFormat { Png, Jpeg, Tiff, Bmp, Pdf };

enum class CaptureMode {
  MainDisplay,  // no mode word
  Display,      // -D n
  Window,       // -W
  Selection,    // -s or -R
};

struct CaptureRequest {
  CaptureMode mode = CaptureMode::MainDisplay;
  int displayNumber = 0;  // counted from 1; only for CaptureMode::Display
  ImageFormat format = ImageFormat::Png;
  bool playSound = true;           // -x turns it off
  bool drawPointer = false;        // -C
  bool toClipboard = false;        // -c
  bool openAfterwards = false;     // -P
  bool fromLastSelection = false;  // -R
  std::string outputPath;
};

// What the words ask for: a capture, the help text, or a one-line complaint.
struct ParsedWords {
  std::optional<CaptureRequest> request;
  bool helpWanted = false;
  std::string error;
};

ParsedWords parseCaptureWords(const std::vector<std::string_view>& words);

// The usage text; `about` is the paragraph that says what the tool does and where.
std::string helpText(std::string_view programName, std::string_view about);
