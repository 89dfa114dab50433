#include "platform/process_output.h"

#include "platform/utf.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace {

bool Readable(const UniqueFd& fd) {
  if (!fd.Valid()) return false;
  pollfd watch{fd.Get(), POLLIN, 0};
  return poll(&watch, 1, 0) > 0;
}

void ReadPipe(OutputBuffer& output) {
  while (!output.ended && output.fill < OutputRingSize) {
    const std::size_t room = output.writePos >= output.readPos ? OutputRingSize - output.writePos
                                                               : output.readPos - output.writePos;
    const ssize_t got = read(output.pipe.Get(), output.ring.data() + output.writePos, room);
    if (got < 0) {
      if (errno == EINTR) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) output.ended = true;
      return;
    }
    if (got == 0) {
      output.ended = true;
      return;
    }
    output.writePos = (output.writePos + static_cast<std::size_t>(got)) % OutputRingSize;
    output.fill += static_cast<std::size_t>(got);
    if (static_cast<std::size_t>(got) < room) return;
  }
}

}  // namespace

void TopUpOutput(OutputBuffer& output) {
  // Whatever the program wrote before it ended is in the pipe by now, so one read after
  // learning of the end finds all of it.
  const bool programEnded = Readable(output.programEnded);
  ReadPipe(output);
  if (output.fill == 0 && programEnded) output.ended = true;
}

void WaitOutput(OutputBuffer& output) {
  if (output.fill > 0 || output.ended) return;
  pollfd watch[2] = {{output.pipe.Get(), POLLIN, 0}, {output.programEnded.Get(), POLLIN, 0}};
  while (poll(watch, 2, -1) < 0 && errno == EINTR) {
  }
}

namespace {

// The next byte of output, waiting for it when none is buffered; false at the end.
bool NextByte(OutputBuffer& output, unsigned char& byte) {
  while (output.fill == 0) {
    if (output.ended) return false;
    TopUpOutput(output);
    if (output.fill == 0) WaitOutput(output);
  }
  byte = output.ring[output.readPos];
  output.readPos = (output.readPos + 1) % OutputRingSize;
  --output.fill;
  return true;
}

}  // namespace

std::string ReadOutputLine(OutputBuffer& output) {
  std::string line;
  unsigned char lead = 0;
  while (NextByte(output, lead)) {
    if (lead == '\n') break;
    int more = 0;
    std::uint32_t c = 0;
    if (lead < 0x80) {
      line += static_cast<char>(lead);
      continue;
    }
    if ((lead & 0xE0) == 0xC0) {
      more = 1;
      c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      more = 2;
      c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      more = 3;
      c = lead & 0x07;
    } else {
      line += ' ';
      continue;
    }
    // Continuation bytes are taken as they come, without validation.
    bool complete = true;
    for (int i = 0; i < more; ++i) {
      unsigned char next = 0;
      if (!NextByte(output, next)) {
        complete = false;
        break;
      }
      c = (c << 6) | (next & 0x3F);
    }
    // A character the text cannot hold (cut short, a surrogate, beyond U+10FFFF, or a NUL
    // smuggled in by an overlong form) reads as a blank like a bad lead byte.
    const bool holdable = complete && c != 0 && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
    if (holdable) {
      AppendUtf8(line, c);
    } else {
      line += ' ';
    }
  }
  return line;
}
