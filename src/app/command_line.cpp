#include "app/command_line.h"

#include <string_view>

namespace {

// One table for reading the options and for the help text.
struct Option {
  std::string_view word;
  std::string_view argument;  // what follows the option, empty for none
  std::string_view command;   // the channel's command; for --capture, "capture" + the kind
  std::string_view help;
};

constexpr Option Options[] = {
    {"--capture", "screen|window|selection", "capture", "take a capture"},
    {"--open-folder", "", "open-folder", "show the capture folder"},
    {"--preferences", "", "preferences", "open the Preferences window"},
    {"--about", "", "about", "show the About box"},
    {"--quit", "", "quit", "end the running program"},
    {"--help", "", "", "show this text"},
    {"--version", "", "", "show the version"},
};

CommandLine Mistake(std::string what) {
  return {CommandLine::Action::Mistake, {}, std::move(what)};
}

}  // namespace

CommandLine ReadCommandLine(int argc, char** argv) {
  if (argc <= 1) return {};
  const std::string_view first = argv[1];
  if (first == "--help" || first == "-h") return {CommandLine::Action::Help, {}, {}};
  if (first == "--version") return {CommandLine::Action::Version, {}, {}};
  for (const Option& option : Options) {
    if (first != option.word || option.command.empty()) continue;
    const int words = option.argument.empty() ? 2 : 3;
    if (argc < words) return Mistake(std::string(first) + " needs " + std::string(option.argument));
    if (argc > words) return Mistake("unexpected word \"" + std::string(argv[words]) + "\"");
    if (option.argument.empty()) {
      return {CommandLine::Action::Command, std::string(option.command), {}};
    }
    const std::string_view kind = argv[2];
    if (kind != "screen" && kind != "window" && kind != "selection") {
      return Mistake("unknown capture \"" + std::string(kind) + "\" (use " +
                     std::string(option.argument) + ")");
    }
    return {
        CommandLine::Action::Command, std::string(option.command) + " " + std::string(kind), {}};
  }
  return Mistake("unknown option \"" + std::string(first) + "\"");
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
      "Without a running copy, --capture takes the one capture with the stored settings and\n"
      "exits with its result: 0 saved, 1 cancelled, 2 failed; --quit does nothing; the others\n"
      "start the program and then act. A command that cannot be read exits with 2.\n";
  return text;
}
