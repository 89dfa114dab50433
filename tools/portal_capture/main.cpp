#include <cstdio>
#include <string_view>
#include <vector>

#include "capture_request.h"
#include "desktop_displays.h"
#include "portal_capture.h"

namespace {

constexpr char About[] =
    "Takes a screenshot through the desktop's screenshot portal (Wayland) and writes it to\n"
    "output-path (when that name is taken, to name-2.ext, name-3.ext...), then prints the path\n"
    "it wrote. Without -D, -W, -s or -R it takes the whole desktop; -D crops it to one display,\n"
    "in that display's own pixels. -W, -s and -R let the desktop's own picker choose, where it\n"
    "has one, for as long as you take (no last selection is kept); -C and -o change nothing. A\n"
    "portal that has not taken the screen within 10 seconds is given up (status 2).\n";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string_view> words(argv + 1, argv + argc);
  ParsedWords parsed = parseCaptureWords(words);
  if (parsed.helpWanted) {
    std::fputs(helpText("vantorshot-portal-capture", About).c_str(), stdout);
    return 0;
  }
  if (!parsed.request) {
    std::fprintf(stderr, "vantorshot-portal-capture: %s\n", parsed.error.c_str());
    return 2;
  }
  const bool display = parsed.request->mode == CaptureMode::Display;
  const auto application = MakeApplication(argc, argv, display);
  return runPortalCapture(*parsed.request, DesktopDisplays());
}
