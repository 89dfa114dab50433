#include "image_encoding.h"

#include <algorithm>
#include <thread>

#include "image_encoders.h"
#include "png_encoder.h"

namespace {

constexpr int kJpegQuality = 90;

int encoderThreads() {
  return static_cast<int>(std::max(2u, std::thread::hardware_concurrency()));
}

}  // namespace

std::string encodeImage(const PixelImage& image, ImageFormat format, RowAvailability* arriving) {
  bool streams = format == ImageFormat::Png || format == ImageFormat::Pdf;
  if (arriving && !streams && !arriving->waitFor(image.height)) return {};
  switch (format) {
    case ImageFormat::Png:
      return encodePng(image, encoderThreads(), arriving);
    case ImageFormat::Jpeg:
      return encodeJpeg(image, kJpegQuality);
    case ImageFormat::Tiff:
      return encodeTiff(image);
    case ImageFormat::Bmp:
      return encodeBmp(image);
    case ImageFormat::Pdf:
      return encodePdf(image, encoderThreads(), arriving);
  }
  return {};
}
