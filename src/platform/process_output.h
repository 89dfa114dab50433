#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "platform/process_fd.h"

inline constexpr std::size_t OutputRingSize = 10240;

// The read end of a program's output pipe, non-blocking, in front of a ring buffer.
struct OutputBuffer {
  UniqueFd pipe;
  // Becomes readable once the program has ended: a child the program left behind may hold
  // the pipe open, and then the pipe alone would never report its end.
  UniqueFd programEnded;
  std::array<unsigned char, OutputRingSize> ring{};
  std::size_t readPos = 0;
  std::size_t writePos = 0;
  std::size_t fill = 0;
  bool ended = false;  // no more output will come
};

// Reads what the pipe holds into the ring's free space; never waits. The output has ended at
// the pipe's end, or when the program has ended and the pipe holds nothing more.
void TopUpOutput(OutputBuffer& output);
// Blocks until output is readable or has ended; at once when the ring holds bytes.
void WaitOutput(OutputBuffer& output);
// One line without its line feed, decoded from UTF-8 (bad lead bytes read as blanks); waits
// for more output as needed and stops at the end of the output.
std::string ReadOutputLine(OutputBuffer& output);
