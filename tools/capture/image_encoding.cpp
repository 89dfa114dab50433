#include "image_encoding.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <thread>

#include "png_encoder.h"

namespace {

constexpr int kPdfDotsPerInch = 96;
constexpr int kJpegQuality = 90;

// The top byte of X pixels is undefined, so Qt must not read it as alpha.
QImage toQImage(const PixelImage& image) {
  QImage view(reinterpret_cast<const uchar*>(image.pixels), image.width, image.height,
              static_cast<qsizetype>(image.stride * 4), QImage::Format_RGB32);
  return view.convertToFormat(QImage::Format_RGB888);
}

std::string bytesOf(const QByteArray& data) { return std::string(data.constData(), data.size()); }

std::string encodeWithQt(const QImage& image, const char* format, int quality) {
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (quality >= 0) writer.setQuality(quality);
  if (!writer.write(image)) return {};
  return bytesOf(data);
}

// One page exactly the size of the image at 96 dots per inch, the image embedded losslessly.
std::string encodePdf(const QImage& image) {
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfDotsPerInch);
    QSizeF points(image.width() * 72.0 / kPdfDotsPerInch, image.height() * 72.0 / kPdfDotsPerInch);
    writer.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0)));
    QPainter painter(&writer);
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.drawImage(QRect(0, 0, image.width(), image.height()), image);
  }
  return bytesOf(data);
}

}  // namespace

std::string encodeImage(const PixelImage& image, ImageFormat format) {
  switch (format) {
    case ImageFormat::Png:
      return encodePng(image, static_cast<int>(std::max(2u, std::thread::hardware_concurrency())));
    case ImageFormat::Jpeg:
      return encodeWithQt(toQImage(image), "jpeg", kJpegQuality);
    case ImageFormat::Tiff:
      return encodeWithQt(toQImage(image), "tiff", -1);
    case ImageFormat::Bmp:
      return encodeWithQt(toQImage(image), "bmp", -1);
    case ImageFormat::Pdf:
      return encodePdf(toQImage(image));
  }
  return {};
}
