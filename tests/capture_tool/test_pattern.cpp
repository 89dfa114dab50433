#include "test_pattern.h"

#include <cstdint>

namespace {

uint32_t mix(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

}  // namespace

QImage blockPattern(int width, int height, unsigned seed) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      uint32_t block = mix(seed * 7919U + static_cast<uint32_t>((y / 16) * 4096 + x / 16));
      uint32_t noise = mix(seed ^ static_cast<uint32_t>(y * 65536 + x));
      int r = static_cast<int>((block & 0xf8) | (noise & 7));
      int g = static_cast<int>(((block >> 8) & 0xf8) | ((noise >> 3) & 7));
      int b = static_cast<int>(((block >> 16) & 0xf8) | ((noise >> 6) & 7));
      line[x] = qRgb(r, g, b);
    }
  }
  return image;
}

QImage solidImage(int width, int height, QRgb colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}
