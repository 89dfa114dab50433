#include "portal_capture.h"

#include <QFile>
#include <QImage>

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "desktop_feedback.h"
#include "display_crop.h"
#include "image_encoding.h"
#include "output_file.h"
#include "png_encoder.h"
#include "portal_screenshot.h"
#include "quit_requests.h"
#include "strip_source.h"
#include "wayland_clipboard.h"

namespace {

constexpr int Written = 0;
constexpr int Cancelled = 1;
constexpr int Failed = 2;

int complain(const std::string& problem) {
  std::fprintf(stderr, "vantorshot-portal-capture: %s\n", problem.c_str());
  return Failed;
}

// The encoders' pixels (0x..RRGGBB words) of an image in Qt's RGB32, which they keep alive.
PixelImage pixelsOf(std::shared_ptr<QImage> image) {
  PixelImage pixels;
  pixels.width = image->width();
  pixels.height = image->height();
  pixels.stride = static_cast<std::size_t>(image->bytesPerLine()) / 4;
  pixels.pixels = reinterpret_cast<uint32_t*>(image->bits());
  pixels.owner = std::move(image);
  return pixels;
}

// The portal's picture, read once. Its file (where the user keeps pictures, or at a fixed name
// in /tmp) is removed as soon as it is open, so that a signal while it is read leaves nothing.
std::optional<PixelImage> readAndRemove(const std::string& file) {
  QFile source(QString::fromStdString(file));
  const bool opened = source.open(QIODevice::ReadOnly);
  ::unlink(file.c_str());
  QImage image;
  if (!opened || !image.load(&source, nullptr)) return std::nullopt;
  return pixelsOf(std::make_shared<QImage>(image.convertToFormat(QImage::Format_RGB32)));
}

// A part enlarged by a fraction cannot be undone exactly: each pixel becomes the mean of the
// area it covers (Qt's smooth scaling averages areas when it shrinks).
PixelImage resampled(const PixelImage& part, int width, int height) {
  const QImage view(reinterpret_cast<const uchar*>(part.pixels), part.width, part.height,
                    static_cast<qsizetype>(part.stride * 4), QImage::Format_RGB32);
  return pixelsOf(std::make_shared<QImage>(
      view.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
          .convertToFormat(QImage::Format_RGB32)));
}

}  // namespace

int runPortalCapture(const CaptureRequest& request, const std::vector<DesktopDisplay>& displays) {
  if (std::string problem = outputProblem(request.outputPath); !problem.empty()) {
    return complain(problem);
  }
  if (request.mode == CaptureMode::Display &&
      request.displayNumber > static_cast<int>(displays.size())) {
    return complain("display " + std::to_string(request.displayNumber) +
                    " does not exist (there are " + std::to_string(displays.size()) + ")");
  }
  const bool pick = request.mode == CaptureMode::Window || request.mode == CaptureMode::Selection;
  const PortalAnswer answer = TakePortalScreenshot(pick);
  if (answer.result == PortalAnswer::Result::Stopped) endAsSignalled(answer.signal);
  if (answer.result == PortalAnswer::Result::Cancelled) return Cancelled;
  if (answer.result != PortalAnswer::Result::Taken) return complain(answer.problem);
  std::optional<PixelImage> picture = readAndRemove(answer.file);
  if (!picture) return complain("cannot read the portal's picture " + answer.file);
  if (request.mode == CaptureMode::Display) {
    const DisplayPart shown =
        DisplayInPicture(displays, request.displayNumber - 1, picture->width, picture->height);
    const ScreenRect& part = shown.part;
    if (part.empty()) return complain("the portal's picture does not show the display");
    *picture = ShrinkByBlocks(cropPixelImage(*picture, part.x, part.y, part.width, part.height),
                              shown.shrink);
    if (picture->width != shown.width || picture->height != shown.height) {
      *picture = resampled(*picture, shown.width, shown.height);
    }
  }

  ImageStrips strips(*picture);
  std::string bytes = encodeImage(strips, request.format);
  if (bytes.empty()) return complain("cannot encode the image");
  std::string written;
  if (std::string problem = saveCapture(request.outputPath, bytes, written); !problem.empty()) {
    return complain(problem);
  }
  if (request.playSound) playShutterSound();

  // The file is written: problems with the extras are reported but do not fail the capture.
  if (request.toClipboard) {
    const std::string png = request.format == ImageFormat::Png
                                ? std::move(bytes)
                                : encodePng(*picture, encoderThreads());
    if (std::string problem = handPngToWaylandClipboard(png); !problem.empty()) complain(problem);
  }
  if (request.openAfterwards && !openInViewer(written)) {
    complain("cannot start xdg-open to show " + written);
  }
  return Written;
}
