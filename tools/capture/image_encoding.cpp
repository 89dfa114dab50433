#include "image_encoding.h"

#include <algorithm>
#include <thread>

#include "image_encoders.h"
#include "png_encoder.h"

namespace {

constexpr int kJpegQuality = 90;

}  // namespace

int encoderThreads() {
  return static_cast<int>(std::max(2u, std::thread::hardware_concurrency()));
}

std::string encodeImage(StripSource& source, ImageFormat format, std::optional<PixelImage>* whole) {
  if (format == ImageFormat::Png) return encodePng(source, encoderThreads());
  if (format == ImageFormat::Pdf) return encodePdf(source, encoderThreads());
  std::optional<PixelImage> image = readWholeImage(source);
  if (!image) return {};
  std::string bytes;
  if (format == ImageFormat::Jpeg) bytes = encodeJpeg(*image, kJpegQuality);
  if (format == ImageFormat::Tiff) bytes = encodeTiff(*image);
  if (format == ImageFormat::Bmp) bytes = encodeBmp(*image);
  if (whole) *whole = std::move(image);
  return bytes;
}
