#pragma once

// The program's command line: with no option it starts in the tray; an option asks for one
// command, sent to the copy that runs in this session or carried out here.

#include <string>

struct CommandLine {
  enum class Action { Start, Help, Version, Command, Editor, Mistake };
  Action action = Action::Start;
  // For Command: the command as the channel carries it ("capture screen", "quit", ...); for
  // Editor: "edit" or "pin".
  std::string command;
  // For a capture: whether the command line waits for its outcome (not with --no-wait).
  bool wait = true;
  // For Editor: the file named.
  std::string file;
  // For Mistake: what is wrong, in one line.
  std::string mistake;
};

CommandLine ReadCommandLine(int argc, char** argv);

// The text --help prints.
std::string CommandLineHelp();
