#include "desktop_feedback.h"

#include <unistd.h>

#include "helper_process.h"

namespace {

constexpr char kShutterFile[] = "/usr/share/sounds/freedesktop/stereo/camera-shutter.oga";

}  // namespace

void playShutterSound() {
  // canberra follows the user's sound theme; the others play the theme's file directly.
  if (startDetached({"canberra-gtk-play", "--id=camera-shutter"})) return;
  if (::access(kShutterFile, R_OK) != 0) return;
  for (const char* player : {"paplay", "pw-play", "ogg123"}) {
    if (startDetached({player, kShutterFile})) return;
  }
}

bool openInViewer(const std::string& path) {
  return startDetached({"xdg-open", path});
}
