#include "picture_export.h"

#include <QFileInfo>

#include <memory>

#include "image_encoding.h"
#include "pixel_image.h"
#include "replace_file.h"
#include "strip_source.h"

std::optional<ImageFormat> formatForPath(const QString& path) {
  QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == "png") return ImageFormat::Png;
  if (suffix == "jpg" || suffix == "jpeg") return ImageFormat::Jpeg;
  if (suffix == "tif" || suffix == "tiff") return ImageFormat::Tiff;
  if (suffix == "bmp") return ImageFormat::Bmp;
  if (suffix == "pdf") return ImageFormat::Pdf;
  return std::nullopt;
}

std::string encodePicture(const QImage& image, ImageFormat format) {
  // RGB32 words are 0xffRRGGBB, the layout the encoders read (they ignore the top byte), so
  // the pixels are lent to them without a copy.
  auto opaque = std::make_shared<QImage>(image.convertToFormat(QImage::Format_RGB32));
  PixelImage pixels;
  pixels.width = opaque->width();
  pixels.height = opaque->height();
  pixels.stride = static_cast<std::size_t>(opaque->bytesPerLine() / 4);
  pixels.pixels = reinterpret_cast<uint32_t*>(opaque->bits());
  pixels.owner = opaque;
  ImageStrips strips(pixels);
  return encodeImage(strips, format);
}

std::string savePicture(const QImage& image, const QString& path, ImageFormat format) {
  std::string bytes = encodePicture(image, format);
  if (bytes.empty()) return "cannot encode the picture";
  return replaceFile(path.toStdString(), bytes);
}
