#include "run_capture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "area_selector.h"
#include "clipboard_handoff.h"
#include "desktop_feedback.h"
#include "frozen_screen.h"
#include "image_encoding.h"
#include "last_selection.h"
#include "monitors.h"
#include "output_file.h"
#include "png_encoder.h"
#include "pointer_overlay.h"
#include "screen_reader.h"
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

ScreenRect rootArea(xcb_screen_t* screen) {
  return {0, 0, screen->width_in_pixels, screen->height_in_pixels};
}

// What to capture: an area of the root, or of the frozen screen the user chose on.
struct Target {
  int status = kExitWritten;
  ScreenRect area;
  std::optional<FrozenScreen> frozen;
  std::optional<PointerPicture> pointer;
};

Target cancelledOrFailed(const PickOutcome& picked) {
  Target target;
  target.status =
      picked.result == PickOutcome::Result::Cancelled ? kExitCancelled : complain(picked.problem);
  return target;
}

Target targetFor(const CaptureRequest& request, xcb_connection_t* connection, xcb_screen_t* screen,
                 int number) {
  std::vector<ScreenRect> displays = listMonitors(connection, screen);
  Target target;
  switch (request.mode) {
    case CaptureMode::MainDisplay: target.area = displays.front(); break;
    case CaptureMode::Display:
      if (request.displayNumber > static_cast<int>(displays.size())) {
        target.status =
            complain("display " + std::to_string(request.displayNumber) +
                     " does not exist (there are " + std::to_string(displays.size()) + ")");
        return target;
      }
      target.area = displays[request.displayNumber - 1];
      break;
    case CaptureMode::Window: {
      PickOutcome picked = pickWindow(connection, screen);
      if (picked.result != PickOutcome::Result::Picked) return cancelledOrFailed(picked);
      target.area = picked.area;
      break;
    }
    case CaptureMode::Selection: {
      // The pointer as it was when the screen froze.
      if (request.drawPointer) target.pointer = readPointer(connection);
      std::optional<ScreenRect> start;
      if (request.fromLastSelection) start = loadLastSelection(rootArea(screen));
      PickOutcome picked = selectArea(connection, screen, screenIsComposited(connection, number),
                                      displays, start, target.frozen);
      if (picked.result != PickOutcome::Result::Picked) return cancelledOrFailed(picked);
      target.area = picked.area;
      // Kept before the picture is written, so that a failed write can be retried with -R.
      if (std::string problem = saveLastSelection(picked.area); !problem.empty()) complain(problem);
      return target;
    }
  }
  if (request.drawPointer) target.pointer = readPointer(connection);
  return target;
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

  Target target = targetFor(request, connection.get(), screen, screenNumber);
  if (target.status != kExitWritten) return target.status;
  // A window may reach past the screen's edges.
  ScreenRect area = intersect(target.area, rootArea(screen));
  ScreenReader reader(connection.get(), target.frozen ? target.frozen->pixmap() : screen->root,
                      screen->root_depth, area, target.pointer ? &*target.pointer : nullptr);
  std::optional<PixelImage> whole;
  std::string bytes = encodeImage(reader, request.format, &whole);
  if (reader.failed()) return complain("cannot read the screen");
  if (bytes.empty()) return complain("cannot encode the image");
  std::string written;
  if (std::string problem = saveCapture(request.outputPath, bytes, written); !problem.empty()) {
    return complain(problem);
  }
  // The shutter sounds only for a picture that was really taken.
  if (request.playSound) playShutterSound();

  // The file is written: problems with the extras are reported but do not fail the capture.
  if (request.toClipboard) {
    std::string png = request.format == ImageFormat::Png ? std::move(bytes) : std::string();
    if (png.empty() && whole) png = encodePng(*whole, encoderThreads());
    if (png.empty()) {
      // PDF streams its rows, so the picture is read once more for the clipboard.
      ScreenReader again(connection.get(), target.frozen ? target.frozen->pixmap() : screen->root,
                         screen->root_depth, area, target.pointer ? &*target.pointer : nullptr);
      png = encodePng(again, encoderThreads());
    }
    if (std::string problem = handPngToClipboard(connection.get(), png); !problem.empty()) {
      complain(problem);
    }
  }
  if (request.openAfterwards && !openInViewer(written)) {
    complain("cannot start xdg-open to show " + written);
  }
  return kExitWritten;
}
