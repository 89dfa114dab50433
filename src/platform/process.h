#pragma once

// The process runner: starts outside programs attached (the caller reads their standard output
// and learns when they have ended) or detached (handed to the system at once, never waited for).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int ProcessKeep = 4;
inline constexpr int ProcessReadOutput = 8;
// A detached program's standard output and error go nowhere: it holds no terminal or pipe of
// its starter, so a shell that reads the starter's output is not kept waiting for it.
inline constexpr int ProcessQuiet = 16;

struct ProcessRecord;

// A record for an attached start; a bare mark for a detached one; empty when the start failed.
struct ProcessHandle {
  ProcessRecord* record = nullptr;
  bool started = false;
  explicit operator bool() const { return started; }
};

// Starts `program` with the words that SplitParameters cuts from `parameters`. An empty
// `folder` keeps the current folder; a folder that cannot be entered is ignored.
ProcessHandle StartProcess(std::string_view program, std::string_view parameters,
                           std::string_view folder, int modes);
// The same with the argument words given one by one, so that no character of a word (blank,
// double quote) can split it or add a word.
ProcessHandle StartProcessWords(std::string_view program, const std::vector<std::string>& words,
                                std::string_view folder, int modes);

// True while the program runs or unread output remains. Once the output has reached its end,
// waits (blocking, without spinning) until the program has ended.
bool ProcessActive(ProcessHandle handle);
// Output bytes readable without waiting (0 to the size of the output ring).
std::size_t PendingProcessOutput(ProcessHandle handle);
// Blocks until output is readable, the output has reached its end, or the program ended.
void WaitProcessOutput(ProcessHandle handle);
// One line of output without its line feed; empty at the end of the output.
std::string ReadProcessLine(ProcessHandle handle);
// Closes the output and forgets the record; the program is neither signalled nor waited for.
void ReleaseProcess(ProcessHandle handle);

// Reads an attached program's output line by line until it has ended, then releases it.
// Returns the lines; the caller's thread sleeps while the program produces nothing.
std::vector<std::string> WaitForProcessEnd(ProcessHandle handle);
