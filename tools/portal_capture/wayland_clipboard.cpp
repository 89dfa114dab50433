#include "wayland_clipboard.h"

#include "helper_process.h"

std::string handPngToWaylandClipboard(std::string_view png) {
  if (!runFeedingInput({"wl-copy", "--type", "image/png"}, png)) {
    return "clipboard: wl-copy is missing or failed";
  }
  return {};
}
