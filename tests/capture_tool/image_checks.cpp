#include "image_checks.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

#include "tool_process.h"

QImage readImage(const QString& path) {
  QImage image(path);
  return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

QImage readWithImageMagick(const QString& path) {
  QByteArray ppm;
  if (!runProgram("/usr/bin/convert", {path, "-depth", "8", "ppm:-"}, &ppm)) return {};
  QImage image;
  image.loadFromData(ppm, "PPM");
  return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

QImage readPdfImage(const QString& path) {
  QTemporaryDir folder;
  if (!runProgram("pdfimages", {"-png", path, folder.filePath("image")})) return {};
  QStringList images = QDir(folder.path()).entryList({"image-*.png"}, QDir::Files, QDir::Name);
  if (images.size() != 1) return {};
  return readImage(folder.filePath(images.front()));
}

long long differingPixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return -1;
  QImage left = a.convertToFormat(QImage::Format_RGB32);
  QImage right = b.convertToFormat(QImage::Format_RGB32);
  long long count = 0;
  for (int y = 0; y < left.height(); ++y) {
    auto* l = reinterpret_cast<const QRgb*>(left.constScanLine(y));
    auto* r = reinterpret_cast<const QRgb*>(right.constScanLine(y));
    for (int x = 0; x < left.width(); ++x) count += (l[x] & 0xffffff) != (r[x] & 0xffffff);
  }
  return count;
}

double meanChannelError(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.isNull()) return -1;
  QImage left = a.convertToFormat(QImage::Format_RGB32);
  QImage right = b.convertToFormat(QImage::Format_RGB32);
  double total = 0;
  for (int y = 0; y < left.height(); ++y) {
    auto* l = reinterpret_cast<const QRgb*>(left.constScanLine(y));
    auto* r = reinterpret_cast<const QRgb*>(right.constScanLine(y));
    for (int x = 0; x < left.width(); ++x) {
      total += std::abs(qRed(l[x]) - qRed(r[x])) + std::abs(qGreen(l[x]) - qGreen(r[x])) +
               std::abs(qBlue(l[x]) - qBlue(r[x]));
    }
  }
  return total / (3.0 * left.width() * left.height());
}
