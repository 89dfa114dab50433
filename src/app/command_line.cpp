#include "app/command_line.h"

#include <string_view>
#include <vector>

namespace {

// One table for reading the options and for the help text.
struct Option {
  std::string_view word;
  std::string_view argument;  // what follows the option, empty for none
  std::string_view command;   // the channel's command; for --capture, "capture" + the kind
  std::string_view help;
};

constexpr Option Options[] = {
    {"--capture", "screen|window|selection", "capture", "take a capture and tell its outcome"},
    {"--no-wait", "", "", "with --capture: return at once, not waiting"},
    {"--open-folder", "", "open-folder", "show the capture folder"},
    {"--preferences", "", "preferences", "open the Preferences window"},
    {"--about", "", "about", "show the About box"},
    {"--quit", "", "quit", "end the running program"},
    {"--edit", "FILE", "edit", "annotate a picture in the editor"},
    {"--pin", "FILE", "pin", "pin a picture on the screen"},
    {"--help", "", "", "show this text"},
    {"--version", "", "", "show the version"},
};

constexpr std::string_view NoWait = "--no-wait";

CommandLine Only(CommandLine::Action action) {
  CommandLine line;
  line.action = action;
  return line;
}

CommandLine Mistake(std::string what) {
  CommandLine line = Only(CommandLine::Action::Mistake);
  line.mistake = std::move(what);
  return line;
}

CommandLine Read(const std::vector<std::string_view>& words) {
  const std::string_view first = words[0];
  CommandLine line;
  for (const Option& option : Options) {
    if (first != option.word || option.command.empty()) continue;
    const std::size_t count = option.argument.empty() ? 1 : 2;
    if (words.size() < count)
      return Mistake(std::string(first) + " needs " + std::string(option.argument));
    if (words.size() > count)
      return Mistake("unexpected word \"" + std::string(words[count]) + "\"");
    line.action = CommandLine::Action::Command;
    line.command = option.command;
    if (option.argument.empty()) return line;
    if (option.argument == "FILE") {
      line.action = CommandLine::Action::Editor;
      line.file = words[1];
      return line;
    }
    const std::string_view kind = words[1];
    if (kind != "screen" && kind != "window" && kind != "selection") {
      return Mistake("unknown capture \"" + std::string(kind) + "\" (use " +
                     std::string(option.argument) + ")");
    }
    line.command += " " + std::string(kind);
    return line;
  }
  return Mistake("unknown option \"" + std::string(first) + "\"");
}

}  // namespace

CommandLine ReadCommandLine(int argc, char** argv) {
  if (argc <= 1) return {};
  const std::string_view first = argv[1];
  if (first == "--help" || first == "-h") return Only(CommandLine::Action::Help);
  if (first == "--version") return Only(CommandLine::Action::Version);
  std::vector<std::string_view> words;
  bool noWait = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (word == NoWait && !noWait) {
      noWait = true;
    } else {
      words.emplace_back(word);
    }
  }
  if (words.empty()) return Mistake("--no-wait goes with --capture");
  CommandLine line = Read(words);
  if (noWait && line.action != CommandLine::Action::Mistake &&
      !line.command.starts_with("capture ")) {
    return Mistake("--no-wait goes with --capture");
  }
  line.wait = !noWait;
  return line;
}

std::string CommandLineHelp() {
  std::string text =
      "Usage: vantorshot [option]\n"
      "A screenshot utility in the system tray. Without an option it starts there; with one,\n"
      "it hands the command to the copy already running in this session, or carries it out.\n"
      "\n";
  for (const Option& option : Options) {
    std::string line("  ");
    line.append(option.word);
    if (!option.argument.empty()) line.append(" ").append(option.argument);
    line.resize(38, ' ');
    text += line + std::string(option.help) + "\n";
  }
  text +=
      "\n"
      "--capture waits until the capture has ended, countdown and display choice included,\n"
      "whether the running copy takes it or, without one, this command: it prints the saved\n"
      "file's path (nothing when the picture only went to the clipboard) and exits with 0\n"
      "saved or copied, 1 cancelled (\"Capture cancelled\"), 2 failed (the reason on standard\n"
      "error), 3 when a capture is already underway. With --no-wait it exits 0 at once.\n"
      "--edit and --pin open the file in vantorshot-edit, beside this program, and return at\n"
      "once. Without a running copy --quit does nothing and the others start the program and\n"
      "then act. A command that cannot be read, or is refused, exits with 2.\n";
  return text;
}
