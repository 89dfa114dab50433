#include "capture_request.h"

#include <charconv>

namespace {

std::optional<ImageFormat> formatNamed(std::string_view name) {
  if (name == "png") return ImageFormat::Png;
  if (name == "jpg") return ImageFormat::Jpeg;
  if (name == "tiff") return ImageFormat::Tiff;
  if (name == "bmp") return ImageFormat::Bmp;
  if (name == "pdf") return ImageFormat::Pdf;
  return std::nullopt;
}

std::optional<int> positiveNumber(std::string_view text) {
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < 1) return std::nullopt;
  return value;
}

ParsedWords complaint(std::string message) {
  ParsedWords parsed;
  parsed.error = std::move(message);
  return parsed;
}

}  // namespace

ParsedWords parseCaptureWords(const std::vector<std::string_view>& words) {
  CaptureRequest request;
  bool modeGiven = false;
  auto setMode = [&](CaptureMode mode) -> bool {
    if (modeGiven && request.mode != mode) return false;
    modeGiven = true;
    request.mode = mode;
    return true;
  };

  for (std::size_t i = 0; i < words.size(); ++i) {
    std::string_view word = words[i];
    bool last = i + 1 == words.size();
    if (word == "--help" || word == "-h") {
      ParsedWords parsed;
      parsed.helpWanted = true;
      return parsed;
    }
    if (word == "-t") {
      if (last) return complaint("-t needs a format: png, jpg, tiff, bmp or pdf");
      auto format = formatNamed(words[++i]);
      if (!format) {
        return complaint("unknown format \"" + std::string(words[i]) +
                         "\" after -t (use png, jpg, tiff, bmp or pdf)");
      }
      request.format = *format;
    } else if (word.starts_with("-D")) {
      std::string_view number = word.substr(2);
      if (number.empty()) {
        if (last) return complaint("-D needs a display number");
        number = words[++i];
      }
      auto value = positiveNumber(number);
      if (!value) {
        return complaint("display number \"" + std::string(number) +
                         "\" after -D is not a number from 1 up");
      }
      if (!setMode(CaptureMode::Display)) {
        return complaint("use only one of -W, -s and -D");
      }
      request.displayNumber = *value;
    } else if (word == "-W") {
      if (!setMode(CaptureMode::Window)) return complaint("use only one of -W, -s and -D");
    } else if (word == "-s") {
      if (!setMode(CaptureMode::Selection)) return complaint("use only one of -W, -s and -D");
    } else if (word == "-x") {
      request.playSound = false;
    } else if (word == "-o") {
      // X11 window captures carry no shadow, so there is nothing to remove.
    } else if (word == "-C") {
      request.drawPointer = true;
    } else if (word == "-c") {
      request.toClipboard = true;
    } else if (word == "-P") {
      request.openAfterwards = true;
    } else if (last && !word.empty()) {
      request.outputPath = std::string(word);
    } else if (word.starts_with("-")) {
      return complaint("unknown option \"" + std::string(word) + "\" (see --help)");
    } else {
      return complaint("unexpected word \"" + std::string(word) +
                       "\" (the output path must be the last word)");
    }
  }
  if (request.outputPath.empty()) return complaint("missing output path (the last word)");

  ParsedWords parsed;
  parsed.request = std::move(request);
  return parsed;
}

std::string helpText(std::string_view programName) {
  std::string text = "Usage: " + std::string(programName) + " [options] output-path\n";
  text +=
      "Takes a screenshot on X11 and writes it to output-path.\n"
      "\n"
      "  -t png|jpg|tiff|bmp|pdf  file format (default png)\n"
      "  (no mode word)           the whole main display\n"
      "  -D n, -Dn                display n, counted from 1 in the order displays are listed\n"
      "  -W                       pick a window: click captures it, Escape cancels\n"
      "  -s                       drag a rectangle; Escape or a right click cancels\n"
      "  -x                       no shutter sound\n"
      "  -o                       no window shadow (X11 captures have none)\n"
      "  -C                       draw the mouse pointer into the image\n"
      "  -c                       also put the image on the clipboard (as PNG)\n"
      "  -P                       open the file in the image viewer afterwards\n"
      "  --help                   show this text\n"
      "\n"
      "Exit status: 0 written, 1 cancelled, 2 bad words or the file cannot be written.\n";
  return text;
}
