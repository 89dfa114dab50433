#include "run_capture.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "area_selector.h"
#include "atomic_file.h"
#include "clipboard_handoff.h"
#include "desktop_feedback.h"
#include "image_encoding.h"
#include "monitors.h"
#include "png_encoder.h"
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

struct Capture {
  std::optional<PixelImage> image;
  ScreenRect area;
  int status = kExitWritten;
};

Capture captureScreenArea(xcb_connection_t* connection, xcb_screen_t* screen, ScreenRect area,
                          bool withPointer) {
  Capture capture;
  capture.area = area;
  capture.image = grabRootArea(connection, screen, area);
  if (!capture.image) {
    capture.status = complain("cannot read the screen");
    return capture;
  }
  if (withPointer) drawPointer(connection, *capture.image, area);
  return capture;
}

Capture captureFor(const CaptureRequest& request, xcb_connection_t* connection,
                   xcb_screen_t* screen) {
  std::vector<ScreenRect> displays = listMonitors(connection, screen);
  Capture capture;
  switch (request.mode) {
    case CaptureMode::MainDisplay:
      return captureScreenArea(connection, screen, displays.front(), request.drawPointer);
    case CaptureMode::Display:
      if (request.displayNumber > static_cast<int>(displays.size())) {
        capture.status = complain("display " + std::to_string(request.displayNumber) +
                                  " does not exist (there are " +
                                  std::to_string(displays.size()) + ")");
        return capture;
      }
      return captureScreenArea(connection, screen, displays[request.displayNumber - 1],
                               request.drawPointer);
    case CaptureMode::Window: {
      PickOutcome picked = pickWindow(connection, screen);
      if (picked.result == PickOutcome::Result::Cancelled) capture.status = kExitCancelled;
      if (picked.result == PickOutcome::Result::Failed) capture.status = complain(picked.problem);
      if (picked.result != PickOutcome::Result::Picked) return capture;
      return captureScreenArea(connection, screen, picked.area, request.drawPointer);
    }
    case CaptureMode::Selection: {
      ScreenRect root{0, 0, screen->width_in_pixels, screen->height_in_pixels};
      Capture frozen = captureScreenArea(connection, screen, root, request.drawPointer);
      if (!frozen.image) return frozen;
      PickOutcome picked = selectArea(connection, screen, displays, *frozen.image);
      if (picked.result == PickOutcome::Result::Cancelled) capture.status = kExitCancelled;
      if (picked.result == PickOutcome::Result::Failed) capture.status = complain(picked.problem);
      if (picked.result != PickOutcome::Result::Picked) return capture;
      capture.area = picked.area;
      capture.image = cropPixelImage(*frozen.image, picked.area.x, picked.area.y,
                                     picked.area.width, picked.area.height);
      return capture;
    }
  }
  return capture;
}

}  // namespace

int runCapture(const CaptureRequest& request) {
  if (std::string problem = folderProblem(request.outputPath); !problem.empty()) {
    return complain(problem);
  }
  int screenNumber = 0;
  XcbConnection connection(xcb_connect(nullptr, &screenNumber));
  if (xcb_connection_has_error(connection.get())) {
    return complain("cannot open display " + displayName());
  }
  xcb_screen_t* screen = screenNumbered(connection.get(), screenNumber);
  if (!screen) return complain("display " + displayName() + " has no such screen");

  Capture capture = captureFor(request, connection.get(), screen);
  if (!capture.image) return capture.status;
  if (request.playSound) playShutterSound();

  std::string bytes = encodeImage(*capture.image, request.format);
  if (bytes.empty()) return complain("cannot encode the image");
  if (std::string problem = writeFileAtomically(request.outputPath, bytes); !problem.empty()) {
    return complain(problem);
  }

  // The file is written: problems with the extras are reported but do not fail the capture.
  if (request.toClipboard) {
    std::string png =
        request.format == ImageFormat::Png ? std::move(bytes) : encodeImage(*capture.image,
                                                                            ImageFormat::Png);
    if (std::string problem = handPngToClipboard(connection.get(), png); !problem.empty()) {
      complain(problem);
    }
  }
  if (request.openAfterwards && !openInViewer(request.outputPath)) {
    complain("cannot start xdg-open to show " + request.outputPath);
  }
  return kExitWritten;
}
