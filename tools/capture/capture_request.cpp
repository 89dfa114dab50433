#include "capture_request.h"

#include <charconv>
#include <cstdio>

namespace {

struct Parsing {
  CaptureRequest request;
  bool modeGiven = false;
  bool helpWanted = false;
};

// Applies an option to the request; returns a complaint, or empty when it fits.
using ApplyOption = std::string (*)(Parsing& parsing, std::string_view argument);

// One row per option: parsing and the help text both read this table, so they cannot drift.
struct OptionRow {
  std::string_view word;
  std::string_view argument;  // empty when the option takes none
  std::string_view help;
  ApplyOption apply;
};

std::optional<ImageFormat> formatNamed(std::string_view name) {
  if (name == "png") return ImageFormat::Png;
  if (name == "jpg") return ImageFormat::Jpeg;
  if (name == "tiff") return ImageFormat::Tiff;
  if (name == "bmp") return ImageFormat::Bmp;
  if (name == "pdf") return ImageFormat::Pdf;
  return std::nullopt;
}

std::string chooseMode(Parsing& parsing, CaptureMode mode) {
  if (parsing.modeGiven && parsing.request.mode != mode)
    return "use only one of -W, -s (or -R) and -D";
  parsing.modeGiven = true;
  parsing.request.mode = mode;
  return {};
}

std::string applyFormat(Parsing& parsing, std::string_view name) {
  std::optional<ImageFormat> format = formatNamed(name);
  if (!format) {
    return "unknown format \"" + std::string(name) + "\" after -t (use png, jpg, tiff, bmp or pdf)";
  }
  parsing.request.format = *format;
  return {};
}

std::string applyDisplay(Parsing& parsing, std::string_view text) {
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < 1) {
    return "display number \"" + std::string(text) + "\" after -D is not a number from 1 up";
  }
  parsing.request.displayNumber = value;
  return chooseMode(parsing, CaptureMode::Display);
}

constexpr OptionRow kOptions[] = {
    {"-t", "png|jpg|tiff|bmp|pdf", "file format (default png)", applyFormat},
    {"-D", "n", "display n, counted from 1 in the order displays are listed (also -Dn)",
     applyDisplay},
    {"-W", "", "pick a window: click captures it, Escape cancels",
     [](Parsing& p, std::string_view) { return chooseMode(p, CaptureMode::Window); }},
    {"-s", "", "drag a rectangle and adjust it; Return takes it, Escape cancels",
     [](Parsing& p, std::string_view) { return chooseMode(p, CaptureMode::Selection); }},
    {"-R", "", "like -s, starting from the last selection taken (X11)",
     [](Parsing& p, std::string_view) {
       p.request.fromLastSelection = true;
       return chooseMode(p, CaptureMode::Selection);
     }},
    {"-x", "", "no shutter sound",
     [](Parsing& p, std::string_view) { return (p.request.playSound = false, std::string()); }},
    // X11 window captures carry no shadow, so there is nothing to remove.
    {"-o", "", "no window shadow (X11 captures have none)",
     [](Parsing&, std::string_view) { return std::string(); }},
    {"-C", "", "draw the mouse pointer into the image",
     [](Parsing& p, std::string_view) { return (p.request.drawPointer = true, std::string()); }},
    {"-c", "", "also put the image on the clipboard (as PNG)",
     [](Parsing& p, std::string_view) { return (p.request.toClipboard = true, std::string()); }},
    {"-P", "", "open the file in the image viewer afterwards",
     [](Parsing& p, std::string_view) { return (p.request.openAfterwards = true, std::string()); }},
    {"--help", "", "show this text (also -h)",
     [](Parsing& p, std::string_view) { return (p.helpWanted = true, std::string()); }},
};

const OptionRow* optionNamed(std::string_view word) {
  if (word == "-h") word = "--help";
  for (const OptionRow& row : kOptions) {
    if (row.word == word) return &row;
  }
  return nullptr;
}

ParsedWords complaint(std::string message) {
  ParsedWords parsed;
  parsed.error = std::move(message);
  return parsed;
}

}  // namespace

ParsedWords parseCaptureWords(const std::vector<std::string_view>& words) {
  Parsing parsing;
  for (std::size_t i = 0; i < words.size(); ++i) {
    std::string_view word = words[i];
    bool last = i + 1 == words.size();
    const OptionRow* option = optionNamed(word);
    std::string_view argument;
    // An argument may be glued to its option word (-D2).
    if (!option && word.size() > 2 && word[0] == '-' && word[1] != '-') {
      option = optionNamed(word.substr(0, 2));
      if (option && option->argument.empty()) option = nullptr;
      if (option) argument = word.substr(2);
    }
    if (option) {
      if (!option->argument.empty() && argument.empty()) {
        if (last) {
          return complaint(std::string(option->word) + " needs " + std::string(option->argument));
        }
        argument = words[++i];
      }
      if (std::string problem = option->apply(parsing, argument); !problem.empty()) {
        return complaint(problem);
      }
      if (parsing.helpWanted) break;
    } else if (word.starts_with("-")) {
      return complaint("unknown option \"" + std::string(word) +
                       "\" (see --help; a file name that starts with - can be given as ./" +
                       std::string(word) + ")");
    } else if (last && !word.empty()) {
      parsing.request.outputPath = std::string(word);
    } else {
      return complaint("unexpected word \"" + std::string(word) +
                       "\" (the output path must be the last word)");
    }
  }
  ParsedWords parsed;
  parsed.helpWanted = parsing.helpWanted;
  if (parsed.helpWanted) return parsed;
  if (parsing.request.outputPath.empty()) return complaint("missing output path (the last word)");
  parsed.request = std::move(parsing.request);
  return parsed;
}

std::string helpText(std::string_view programName, std::string_view about) {
  std::string text = "Usage: ";
  text.append(programName).append(" [options] output-path\n").append(about).append("\n");
  for (const OptionRow& row : kOptions) {
    std::string words(row.word);
    if (!row.argument.empty()) words.append(" ").append(row.argument);
    char line[160];
    std::snprintf(line, sizeof line, "  %-26s %.*s\n", words.c_str(),
                  static_cast<int>(row.help.size()), row.help.data());
    text += line;
  }
  text += "\nExit status: 0 written, 1 cancelled, 2 bad words or the file cannot be written.\n";
  return text;
}
