// What the tool writes, read back by independent decoders, and the words that choose it.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <functional>

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

uint32_t rgb(int red, int green, int blue) {
  auto channel = [](int level) { return static_cast<uint32_t>(std::clamp(level, 0, 255)); };
  return channel(red) << 16 | channel(green) << 8 | channel(blue);
}

uint32_t hashed(int x, int y) {
  uint32_t h = static_cast<uint32_t>(x) * 0x9e3779b1u ^ static_cast<uint32_t>(y) * 0x85ebca77u;
  return (h ^ h >> 15) * 0x2c1b3c6du;
}

// The kinds of screen a band can hold, one colour a pixel. `underABitAByte`: smooth enough that
// filtered rows leave long runs for deflate's matches, so it fits in less than a bit a byte,
// which Huffman coding alone (a code of at least one bit for every byte) cannot reach.
const struct {
  const char* name;
  bool underABitAByte;
  std::function<uint32_t(int x, int y)> colour;
} kScreenKinds[] = {
    {"linear gradient", true, [](int x, int y) { return rgb((x + y) / 4, x / 3, y); }},
    {"radial gradient", false,
     [](int x, int y) {
       const double r = std::hypot(x - 300, y - 90);
       return rgb(static_cast<int>(r * 0.8), static_cast<int>(r * 1.1), (x + 2 * y) / 5);
     }},
    {"gradient behind text", true,
     [](int x, int y) {
       const bool window = x > 200 && x < 440 && y > 40 && y < 150;
       const bool ink = window && y % 12 < 8 && hashed(x / 3, y / 12) % 3 == 0;
       return window ? (ink ? 0x202020u : 0xf4f4f4u) : rgb(30 + x / 6, 60 + y / 2, 99 + y);
     }},
    {"flat UI", false,
     [](int x, int y) {
       const bool button = x % 90 > 10 && y % 40 > 8 && y % 40 < 32;
       const bool edge = button && (x % 90 == 11 || x % 90 == 89 || y % 40 == 9 || y % 40 == 31);
       return edge ? 0xb8bcc4u : button ? 0xffffffu : 0xf6f7f9u;
     }},
    {"dense text", false,
     [](int x, int y) { return y % 13 < 9 && hashed(x / 2, y / 13) % 4 == 0 ? 0x1a1a1au : ~0u; }},
    {"dark theme", false,
     [](int x, int y) { return y % 20 < 12 && hashed(x / 7, y / 20) % 3 ? 0xc8c8c8u : 0x1e1e1eu; }},
    {"photo", false,
     [](int x, int y) {
       const int v = static_cast<int>(128 + 60 * std::sin(x / 17.0) * std::cos(y / 11.0));
       return rgb(v, v, v) ^ (hashed(x, y) & 0x0f0f0fu);
     }},
    {"noise", false, [](int x, int y) { return hashed(x, y) & 0xffffffu; }},
    {"dithered", false,
     [](int x, int y) { return (x + y) / 6 % 16 > (x * 7 + y * 13) % 16 ? 0x3366ccu : 0xeeeeeeu; }},
    {"pixel art", false, [](int x, int y) { return hashed(x / 8, y / 8) % 6 * 0x2a1f33u; }},
};

// Each kind alone and all of them in one picture, band under band, read back by Qt's decoder and
// by ImageMagick's.
TEST(PngEncoder, EveryKindOfBandDecodesToItsPixelsAndSmoothOnesKeepTheirMatches) {
  constexpr int kWidth = 600, kHeight = 180;
  QTemporaryDir folder;
  QImage all(kWidth, kHeight * static_cast<int>(std::size(kScreenKinds)), QImage::Format_RGB32);
  for (int i = 0; i < static_cast<int>(std::size(kScreenKinds)); ++i) {
    SCOPED_TRACE(kScreenKinds[i].name);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        all.setPixel(x, i * kHeight + y, kScreenKinds[i].colour(x, y) | 0xffu << 24);
      }
    }
    ImageStrips strips(cropPixelImage(pixelsOf(all), 0, i * kHeight, kWidth, kHeight), 50);
    const std::string png = encodePng(strips, 2);
    QFile file(folder.filePath("kind.png"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(png.data(), png.size()) > 0);
    file.close();
    const QImage image = all.copy(0, i * kHeight, kWidth, kHeight);
    EXPECT_EQ(differingPixels(QImage::fromData(QByteArray::fromStdString(png), "PNG"), image), 0);
    EXPECT_EQ(differingPixels(readWithImageMagick(file.fileName()), image), 0);
    if (kScreenKinds[i].underABitAByte) {
      EXPECT_LT(png.size(), (1 + 3 * kWidth) * kHeight / 8) << "stored with Huffman coding alone";
    }
  }
  ImageStrips strips(pixelsOf(all), 45);
  const QByteArray png = QByteArray::fromStdString(encodePng(strips, 3));
  EXPECT_EQ(differingPixels(QImage::fromData(png, "PNG"), all), 0);
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
