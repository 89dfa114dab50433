#include "run_capture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "area_selector.h"
#include "clipboard_handoff.h"
#include "desktop_feedback.h"
#include "image_encoding.h"
#include "monitors.h"
#include "output_file.h"
#include "pointer_overlay.h"
#include "root_grab.h"
#include "window_picker.h"
#include "xcb_handles.h"

namespace {

int complain(const std::string& problem) {
  std::fprintf(stderr, "vantorshot-capture: %s\n", problem.c_str());
  return kExitFailed;
}

xcb_screen_t* screenNumbered(xcb_connection_t* connection, int number) {
  auto it = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (; it.rem; xcb_screen_next(&it), --number) {
    if (number == 0) return it.data;
  }
  return nullptr;
}

std::string displayName() {
  const char* name = std::getenv("DISPLAY");
  return name && *name ? name : "(DISPLAY is not set)";
}

// What to capture: an area still to be read from the screen, or (for a selection over the
// frozen screen) pixels already read.
struct Target {
  int status = kExitWritten;
  std::optional<ScreenRect> area;
  std::optional<PixelImage> image;
};

Target cancelledOrFailed(const PickOutcome& picked) {
  Target target;
  target.status =
      picked.result == PickOutcome::Result::Cancelled ? kExitCancelled : complain(picked.problem);
  return target;
}

Target targetFor(const CaptureRequest& request, xcb_connection_t* connection,
                 xcb_screen_t* screen) {
  std::vector<ScreenRect> displays = listMonitors(connection, screen);
  Target target;
  switch (request.mode) {
    case CaptureMode::MainDisplay:
      target.area = displays.front();
      return target;
    case CaptureMode::Display:
      if (request.displayNumber > static_cast<int>(displays.size())) {
        target.status =
            complain("display " + std::to_string(request.displayNumber) +
                     " does not exist (there are " + std::to_string(displays.size()) + ")");
        return target;
      }
      target.area = displays[request.displayNumber - 1];
      return target;
    case CaptureMode::Window: {
      PickOutcome picked = pickWindow(connection, screen);
      if (picked.result != PickOutcome::Result::Picked) return cancelledOrFailed(picked);
      target.area = picked.area;
      return target;
    }
    case CaptureMode::Selection: {
      ScreenRect root{0, 0, screen->width_in_pixels, screen->height_in_pixels};
      std::optional<PixelImage> frozen = grabRootArea(connection, screen, root);
      if (!frozen) {
        target.status = complain("cannot read the screen");
        return target;
      }
      if (request.drawPointer) drawPointer(connection, *frozen, root);
      PickOutcome picked = selectArea(connection, screen, displays, *frozen);
      if (picked.result != PickOutcome::Result::Picked) return cancelledOrFailed(picked);
      target.image = cropPixelImage(*frozen, picked.area.x, picked.area.y, picked.area.width,
                                    picked.area.height);
      return target;
    }
  }
  return target;
}

struct Encoded {
  std::optional<PixelImage> image;
  std::string bytes;
};

// Reads the area and encodes it. Without a pointer to draw in, encoding starts on the top rows
// while the server still copies the rest.
Encoded readAndEncode(const CaptureRequest& request, xcb_connection_t* connection,
                      xcb_screen_t* screen, ScreenRect area) {
  // A window may reach past the screen's edges; the pointer is placed relative to what is read.
  area = intersect(area, {0, 0, screen->width_in_pixels, screen->height_in_pixels});
  Encoded encoded;
  if (request.drawPointer) {
    encoded.image = grabRootArea(connection, screen, area);
    if (!encoded.image) return encoded;
    drawPointer(connection, *encoded.image, area);
    encoded.bytes = encodeImage(*encoded.image, request.format);
    return encoded;
  }
  RowAvailability arriving;
  std::jthread encoder;
  encoded.image =
      grabRootAreaInStrips(connection, screen, area, arriving, [&](const PixelImage& image) {
        encoder = std::jthread(
            [&, image] { encoded.bytes = encodeImage(image, request.format, &arriving); });
      });
  if (encoder.joinable()) encoder.join();
  return encoded;
}

}  // namespace

int runCapture(const CaptureRequest& request) {
  if (std::string problem = outputProblem(request.outputPath); !problem.empty()) {
    return complain(problem);
  }
  int screenNumber = 0;
  XcbConnection connection(xcb_connect(nullptr, &screenNumber));
  if (xcb_connection_has_error(connection.get())) {
    return complain("cannot open display " + displayName());
  }
  xcb_screen_t* screen = screenNumbered(connection.get(), screenNumber);
  if (!screen) return complain("display " + displayName() + " has no such screen");

  Target target = targetFor(request, connection.get(), screen);
  if (target.status != kExitWritten) return target.status;
  Encoded encoded;
  if (target.image) {
    encoded.image = target.image;
    encoded.bytes = encodeImage(*target.image, request.format);
  } else {
    encoded = readAndEncode(request, connection.get(), screen, *target.area);
    if (!encoded.image) return complain("cannot read the screen");
  }
  if (encoded.bytes.empty()) return complain("cannot encode the image");
  std::string written;
  if (std::string problem = writeNewFile(request.outputPath, encoded.bytes, written);
      !problem.empty()) {
    return complain(problem);
  }
  // The calling program reads this line as the saved file's path.
  std::printf("%s\n", written.c_str());
  std::fflush(stdout);
  // The shutter sounds only for a picture that was really taken.
  if (request.playSound) playShutterSound();

  // The file is written: problems with the extras are reported but do not fail the capture.
  if (request.toClipboard) {
    std::string png = request.format == ImageFormat::Png
                          ? std::move(encoded.bytes)
                          : encodeImage(*encoded.image, ImageFormat::Png);
    if (std::string problem = handPngToClipboard(connection.get(), png); !problem.empty()) {
      complain(problem);
    }
  }
  if (request.openAfterwards && !openInViewer(written)) {
    complain("cannot start xdg-open to show " + written);
  }
  return kExitWritten;
}
