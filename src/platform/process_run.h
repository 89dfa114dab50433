#pragma once

// Running a program to its end and learning how it ended: what it printed on its standard
// output, its last complaint on standard error, and its exit status or the signal that ended it.

#include <string>
#include <string_view>
#include <vector>

struct ProgramOutcome {
  bool started = false;
  int exitCode = -1;                // its exit status, when it exited
  int signal = 0;                   // the signal that ended it, when one did
  bool stopped = false;             // it was asked to stop before it ended by itself
  std::vector<std::string> output;  // standard output, line by line
  std::string lastErrorLine;        // the last non-empty line of standard error
};

// How long a program asked to stop may take before it is killed.
inline constexpr int StopGraceMs = 3000;

// What else is served while a program runs: `serve` is called, and must not block, whenever
// `descriptor` is readable.
struct ServedMeanwhile {
  int descriptor = -1;
  void (*serve)() = nullptr;
};

// Runs `program` with `words` and waits, without spinning, until it has ended; a child it left
// behind holding its output does not hold up the wait. Should `interrupt` (a descriptor, or -1)
// become readable meanwhile, the program is asked to stop (SIGTERM, then SIGKILL after
// StopGraceMs) and still waited for; the descriptor is left unread for its owner.
ProgramOutcome RunProgram(std::string_view program, const std::vector<std::string>& words,
                          int interrupt, ServedMeanwhile served = {});
