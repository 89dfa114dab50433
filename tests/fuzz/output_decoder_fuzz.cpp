// A program's output read line by line through the pipe and ring of the process runner: any
// bytes give lines of valid UTF-8 no longer than what came in (a character that cannot be held
// becomes one blank), and the reading ends.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/process_output.h"
#include "platform/utf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 60000) return 0;  // what one pipe holds without a reader
  PipeEnds pipe;
  if (!OpenPipe(pipe)) std::abort();
  fcntl(pipe.write.Get(), F_SETPIPE_SZ, 65536);
  if (size > 0 && write(pipe.write.Get(), data, size) != static_cast<ssize_t>(size)) std::abort();
  pipe.write.Reset();
  OutputBuffer output;
  output.pipe = std::move(pipe.read);
  fcntl(output.pipe.Get(), F_SETFL, O_NONBLOCK);
  std::size_t total = 0;
  while (!(output.ended && output.fill == 0)) {
    const std::string line = ReadOutputLine(output);
    if (Utf16ToUtf8(Utf8ToUtf16(line)) != line) std::abort();
    total += line.size() + 1;
    if (total > size + 1) std::abort();
  }
  return 0;
}
