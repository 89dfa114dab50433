#include "clipboard_copy.h"

#include "capture_request.h"
#include "helper_process.h"
#include "picture_export.h"

std::string copyPictureToClipboard(const QImage& image, bool wayland) {
  std::string png = encodePicture(image, ImageFormat::Png);
  if (png.empty()) return "cannot encode the picture";
  if (wayland) {
    if (!runFeedingInput({"wl-copy", "--type", "image/png"}, png)) {
      return "wl-copy is missing or failed";
    }
    return {};
  }
  if (!runFeedingInput({"xclip", "-selection", "clipboard", "-t", "image/png", "-i"}, png)) {
    return "xclip is missing or failed";
  }
  return {};
}
