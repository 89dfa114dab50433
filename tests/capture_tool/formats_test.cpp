// What the tool writes, read back by independent decoders, and the words that choose it.
#include <QDir>
#include <QRegularExpression>

#include "display_crop.h"
#include "harness.h"
#include "png_encoder.h"

namespace {

PixelImage pixelsOf(QImage& image) {
  auto stride = static_cast<std::size_t>(image.bytesPerLine() / 4);
  return {image.width(), image.height(), stride, reinterpret_cast<uint32_t*>(image.bits()), {}};
}

// The Wayland tool's crop: two displays side by side, the first lower, in a picture of their
// bounding box at the portal's scale, which is the highest of theirs. A display of a lower scale
// is brought back to its own size: shrunk by a whole factor, or resampled from a fraction (1 beside
// 1.5, which is announced as 2 and kept as drawn).
TEST(DisplayCrop, EachDisplayIsItsPartOfThePictureAtItsOwnSize) {
  std::vector<DesktopDisplay> same{{{0, 100, 1280, 800}, 1}, {{1280, 0, 1920, 1080}, 1}};
  std::vector<DesktopDisplay> mixed{{{0, 100, 1280, 800}, 1}, {{1280, 0, 1920, 1080}, 2}};
  same.push_back({{0, 0, 9, 9}, 1});
  same.pop_back();  // unplugged: number 2 is asked for but no longer listed
  const struct {
    const std::vector<DesktopDisplay>& displays;
    int display, width, height;
    ScreenRect part;
    int shrink, sizeWidth, sizeHeight;
  } rows[] = {{same, 0, 3200, 1080, {0, 100, 1280, 800}, 1, 1280, 800},
              {same, 1, 3200, 1080, {1280, 0, 1920, 1080}, 1, 1920, 1080},
              {mixed, 0, 6400, 2160, {0, 200, 2560, 1600}, 2, 1280, 800},
              {mixed, 1, 6400, 2160, {2560, 0, 3840, 2160}, 1, 3840, 2160},
              {mixed, 0, 4800, 1620, {0, 150, 1920, 1200}, 1, 1280, 800},
              {mixed, 1, 4800, 1620, {1920, 0, 2880, 1620}, 1, 2880, 1620},
              {mixed, -1, 3200, 1080, {}, 1, 0, 0},
              {same, 2, 3200, 1080, {}, 1, 0, 0}};
  for (const auto& r : rows) {
    const DisplayPart got = DisplayInPicture(r.displays, r.display, r.width, r.height);
    EXPECT_TRUE(got.part.x == r.part.x && got.part.y == r.part.y &&
                got.part.width == r.part.width && got.part.height == r.part.height &&
                got.shrink == r.shrink && got.width == r.sizeWidth && got.height == r.sizeHeight)
        << r.display << " in " << r.width << "x" << r.height;
  }
}

// Sizes and strip cuts that a screen never has, on a crop whose rows are longer than it is wide.
TEST(PngEncoder, AnySizeStripAndThreadCountDecodesToTheSamePixels) {
  for (QSize size : {QSize(1, 1), QSize(9, 1), QSize(1, 9), QSize(333, 17), QSize(64, 200)}) {
    QImage source = blockPattern(size.width() + 3, size.height() + 2, 7);
    // Flat rows over noisy ones: their strips are filtered and coded in different ways.
    for (int y = 0; y < source.height() / 2; ++y) {
      for (int x = 0; x < source.width(); ++x) source.setPixel(x, y, (x / 50) % 2 ? 0xff2040 : 0);
    }
    const QImage expected = source.copy(2, 1, size.width(), size.height());
    for (int threads : {1, 3}) {
      for (int rowsPerStrip : {1, 7, 64}) {
        SCOPED_TRACE(testing::Message()
                     << size.width() << "x" << size.height() << ", " << rowsPerStrip
                     << " rows a strip, " << threads << " threads");
        ImageStrips strips(cropPixelImage(pixelsOf(source), 2, 1, size.width(), size.height()),
                           rowsPerStrip);
        QByteArray png = QByteArray::fromStdString(encodePng(strips, threads));
        EXPECT_EQ(differingPixels(QImage::fromData(png, "PNG"), expected), 0);
      }
    }
  }
  QImage flat(1920, 1080, QImage::Format_RGB32);
  flat.fill(0xff336699);
  EXPECT_LT(encodePng(pixelsOf(flat), 2).size(), 100u * 1024) << "a flat screen takes a few KiB";
}

using CaptureFormats = ScreenTest;
using CaptureWords = ScreenTest;

TEST_F(CaptureFormats, EveryFormatHoldsTheMainDisplayAndPutsAPngOnTheClipboard) {
  const QImage main = mainDisplay();
  const std::pair<const char*, QByteArray> formats[] = {{"png", "\x89PNG"},
                                                        {"jpg", "\xff\xd8\xff"},
                                                        {"tiff", "II*"},
                                                        {"bmp", "BM"},
                                                        {"pdf", "%PDF-"}};
  for (const auto& [format, magic] : formats) {
    SCOPED_TRACE(format);
    QString path = file(QString("shot.") + format);
    ToolResult result = runTool({"-t", format, "-x", "-c", path});
    ASSERT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
    EXPECT_EQ(result.output, path + "\n");
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.read(magic.size()) == magic) << "not a " << format << " file";
    if (QString(format) == "jpg") {
      // Lossy: block edges lose some colour, but few pixels are far off.
      long long farOff = differingPixels(readImage(path), main, 64);
      EXPECT_TRUE(farOff >= 0 && farOff < main.width() * main.height() / 20) << farOff;
    } else if (QString(format) == "pdf") {
      QByteArray info;
      ASSERT_TRUE(runProgram("pdfinfo", {path}, &info));
      // One page at 96 pixels per inch, measured in points.
      QString page = QString("Pages: +1\n(.|\n)*Page size: +%1 x %2 pts")
                         .arg(main.width() * 0.75)
                         .arg(main.height() * 0.75);
      EXPECT_TRUE(QString::fromUtf8(info).contains(QRegularExpression(page))) << info.toStdString();
      EXPECT_EQ(differingPixels(readPdfImage(path), main), 0);
    } else {
      EXPECT_EQ(differingPixels(readImage(path), main), 0);
      EXPECT_EQ(differingPixels(readWithImageMagick(path), main), 0);
    }
    QByteArray clipped;
    ASSERT_TRUE(
        runProgram("xclip", {"-selection", "clipboard", "-t", "image/png", "-o"}, &clipped));
    EXPECT_EQ(differingPixels(QImage::fromData(clipped, "PNG"), main), 0);
  }
}

TEST_F(CaptureFormats, DisplayWordsChooseTheDisplay) {
  const int half = screen.width() / 2;
  const QRect left(0, 0, half, screen.height()), right(half, 0, half, screen.height());
  const std::pair<QStringList, QRect> rows[] = {
      {{"-D", "2"}, right}, {{"-D2"}, right}, {{"-D1"}, left}};
  for (const auto& [words, shown] : rows) {
    SCOPED_TRACE(words.join(' ').toStdString());
    QString path = file(words.join("") + ".png");
    ASSERT_EQ(runTool(words + QStringList{"-x", path}).exitCode, 0);
    EXPECT_EQ(differingPixels(readImage(path), screen.copy(shown)), 0);
  }
}

TEST_F(CaptureWords, BadWordsGiveOneLineAndStatusTwo) {
  // Files named by a word the tool took for a path would land here.
  QDir::setCurrent(folder.path());
  // Something missing, bad values, unknown options, two modes, the output path not last.
  for (QString row :
       {"", "-t png", "-t", "-D", "-t gif OUT", "-D 0 OUT", "-Dx OUT", "-D3 OUT", "-q -t png OUT",
        "-S", "-x --quiet", "-W -s OUT", "-s -D2 OUT", "-R -W OUT", "OUT -x", "stray OUT"}) {
    SCOPED_TRACE(row.toStdString());
    expectRefused(runTool(row.replace("OUT", file("bad.png")).split(' ', Qt::SkipEmptyParts)));
  }
  EXPECT_EQ(entries(), QStringList());
}

}  // namespace
