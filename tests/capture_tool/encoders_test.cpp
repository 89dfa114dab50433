// The encoders against independent readers: Qt's PNG reader for sizes that stress how rows are
// cut into bands, poppler for the PDF page.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "image_checks.h"
#include "image_encoders.h"
#include "png_encoder.h"
#include "test_pattern.h"
#include "tool_process.h"

namespace {

PixelImage fromQImage(QImage& image) {
  PixelImage pixels;
  pixels.width = image.width();
  pixels.height = image.height();
  pixels.stride = static_cast<std::size_t>(image.bytesPerLine() / 4);
  pixels.pixels = reinterpret_cast<uint32_t*>(image.bits());
  return pixels;
}

TEST(PngEncoder, DecodesToTheSamePixelsForAnySizeStripAndThreadCount) {
  const QSize sizes[] = {{1, 1}, {1, 9}, {9, 1}, {3, 5}, {333, 17}, {64, 200}};
  for (QSize size : sizes) {
    QImage source = blockPattern(size.width(), size.height(), 7);
    for (int threads : {1, 2, 3, 8}) {
      for (int rowsPerStrip : {1, 7, 64}) {
        SCOPED_TRACE(QString("%1x%2, %3 rows a strip, on %4 threads")
                         .arg(size.width())
                         .arg(size.height())
                         .arg(rowsPerStrip)
                         .arg(threads)
                         .toStdString());
        ImageStrips strips(fromQImage(source), rowsPerStrip);
        std::string png = encodePng(strips, threads);
        QImage decoded;
        ASSERT_TRUE(decoded.loadFromData(reinterpret_cast<const uchar*>(png.data()),
                                         static_cast<int>(png.size()), "PNG"));
        EXPECT_EQ(differingPixels(decoded, source), 0);
      }
    }
  }
}

TEST(PngEncoder, ACropOfFlatAndNoisyRowsDecodesToTheSamePixels) {
  // Flat rows above noisy ones: their strips are filtered and coded in different ways.
  QImage source = blockPattern(300, 240, 5);
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 300; ++x) source.setPixel(x, y, (x / 50) % 2 ? 0xff204080 : 0xffe0e0e0);
  }
  PixelImage part = cropPixelImage(fromQImage(source), 13, 7, 250, 200);
  std::string png = encodePng(part, 2);
  QImage decoded;
  ASSERT_TRUE(decoded.loadFromData(reinterpret_cast<const uchar*>(png.data()),
                                   static_cast<int>(png.size()), "PNG"));
  EXPECT_EQ(differingPixels(decoded, source.copy(13, 7, 250, 200)), 0);
}

TEST(PngEncoder, FlatScreensCompressWell) {
  QImage flat = solidImage(1920, 1080, 0xff336699);
  std::string png = encodePng(fromQImage(flat), 2);
  EXPECT_LT(png.size(), 100u * 1024) << "a flat 1080p screen should take a few KiB";
}

TEST(PdfEncoder, PageIsTheImageAt96PixelsPerInchInExactPoints) {
  const std::pair<QSize, QString> cases[] = {
      {{1366, 3}, "1024.5 x 2.25 pts"},
      {{14000, 1}, "10500 x 0.75 pts"},
  };
  QTemporaryDir folder;
  for (const auto& [size, page] : cases) {
    SCOPED_TRACE(page.toStdString());
    QImage source = solidImage(size.width(), size.height(), 0xff336699);
    ImageStrips strips(fromQImage(source));
    std::string pdf = encodePdf(strips, 2);
    QFile file(folder.filePath("page.pdf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pdf.data(), static_cast<qint64>(pdf.size()));
    file.close();
    QByteArray info;
    ASSERT_TRUE(runProgram("pdfinfo", {file.fileName()}, &info));
    EXPECT_TRUE(info.contains("Page size:       " + page.toUtf8())) << info.toStdString();
  }
}

}  // namespace
