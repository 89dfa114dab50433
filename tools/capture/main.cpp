#include <cstdio>
#include <string_view>
#include <vector>

#include "capture_request.h"
#include "run_capture.h"

int main(int argc, char** argv) {
  std::vector<std::string_view> words(argv + 1, argv + argc);
  ParsedWords parsed = parseCaptureWords(words);
  if (parsed.helpWanted) {
    std::fputs(helpText("vantorshot-capture",
                        "Takes a screenshot on X11 and writes it to output-path (when that name is "
                        "taken, to\nname-2.ext, name-3.ext...), then prints the path it wrote. "
                        "Without -D, -W, -s or -R it\ntakes the whole main display.\n")
                   .c_str(),
               stdout);
    return kExitWritten;
  }
  if (!parsed.request) {
    std::fprintf(stderr, "vantorshot-capture: %s\n", parsed.error.c_str());
    return kExitFailed;
  }
  return runCapture(*parsed.request);
}
