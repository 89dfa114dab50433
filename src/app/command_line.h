#pragma once

// The program's command line: with no option it starts in the tray; an option asks for one
// command, sent to the copy that runs in this session or carried out here.

#include <string>

struct CommandLine {
  enum class Action { Start, Help, Version, Command, Mistake };
  Action action = Action::Start;
  // For Command: the command as the channel carries it ("capture screen", "quit", ...).
  std::string command;
  // For Mistake: what is wrong, in one line.
  std::string mistake;
};

CommandLine ReadCommandLine(int argc, char** argv);

// The text --help prints.
std::string CommandLineHelp();
