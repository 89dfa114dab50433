#include "picture_filters.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr int kJitter = 24;  // most a channel moves, either way

using Rgb = std::array<int, 3>;

uint64_t mixBits(uint64_t x) {
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdULL;
  x ^= x >> 33;
  x *= 0xc4ceb3fe1a85ec53ULL;
  return x ^ (x >> 33);
}

Rgb meanOf(const QImage& image, const QRect& area) {
  long sum[3] = {0, 0, 0};
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = area.left(); x <= area.right(); ++x) {
      sum[0] += qRed(row[x]);
      sum[1] += qGreen(row[x]);
      sum[2] += qBlue(row[x]);
    }
  }
  long n = std::max<long>(1, static_cast<long>(area.width()) * area.height());
  return {static_cast<int>(sum[0] / n), static_cast<int>(sum[1] / n), static_cast<int>(sum[2] / n)};
}

}  // namespace

void pixelateArea(QImage& image, const QRect& area, uint64_t key) {
  QRect region = area.intersected(image.rect());
  if (region.isEmpty()) return;
  // Neighbours are read from the untouched pixels, a copy of just the area.
  const QImage source = image.copy(region);
  const QPoint origin = region.topLeft();
  for (int top = region.top(); top <= region.bottom(); top += kPixelBlock) {
    for (int left = region.left(); left <= region.right(); left += kPixelBlock) {
      QRect block = QRect(left, top, kPixelBlock, kPixelBlock).intersected(region);
      QRect around =
          block.adjusted(-kPixelBlock, -kPixelBlock, kPixelBlock, kPixelBlock).intersected(region);
      Rgb own = meanOf(source, block.translated(-origin));
      Rgb colour = meanOf(source, around.translated(-origin));
      uint64_t bits = mixBits(key ^ mixBits((static_cast<uint64_t>(left) << 32) | top));
      for (int c = 0; c < 3; ++c) {
        int shift = static_cast<int>((bits >> (c * 16)) % (2 * kJitter + 1)) - kJitter;
        colour[c] = std::clamp(colour[c] + shift, 0, 255);
      }
      if (colour == own) colour[1] = own[1] < 128 ? own[1] + kJitter : own[1] - kJitter;
      QRgb value = qRgb(colour[0], colour[1], colour[2]);
      for (int y = block.top(); y <= block.bottom(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(row + block.left(), row + block.right() + 1, value);
      }
    }
  }
}

namespace {

// One box pass along a run of `count` pixels `step` apart, edges repeated.
void boxPass(QRgb* first, int count, int step, int radius, std::vector<QRgb>& scratch) {
  scratch.resize(count);
  for (int i = 0; i < count; ++i) scratch[i] = first[i * step];
  int sum[3] = {0, 0, 0};
  auto at = [&](int i) { return scratch[std::clamp(i, 0, count - 1)]; };
  for (int i = -radius; i <= radius; ++i) {
    sum[0] += qRed(at(i));
    sum[1] += qGreen(at(i));
    sum[2] += qBlue(at(i));
  }
  int span = 2 * radius + 1;
  for (int i = 0; i < count; ++i) {
    first[i * step] = qRgb(sum[0] / span, sum[1] / span, sum[2] / span);
    QRgb out = at(i - radius), in = at(i + radius + 1);
    sum[0] += qRed(in) - qRed(out);
    sum[1] += qGreen(in) - qGreen(out);
    sum[2] += qBlue(in) - qBlue(out);
  }
}

}  // namespace

void blurArea(QImage& image, const QRect& area, int radius) {
  QRect region = area.intersected(image.rect());
  if (region.isEmpty() || radius < 1) return;
  const int step = static_cast<int>(image.bytesPerLine() / 4);
  QRgb* origin = reinterpret_cast<QRgb*>(image.scanLine(region.top())) + region.left();
  std::vector<QRgb> scratch;
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < region.height(); ++y) {
      boxPass(origin + y * step, region.width(), 1, radius, scratch);
    }
    for (int x = 0; x < region.width(); ++x) {
      boxPass(origin + x, region.height(), step, radius, scratch);
    }
  }
}
