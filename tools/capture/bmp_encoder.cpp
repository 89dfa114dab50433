#include "byte_writer.h"
#include "image_encoders.h"

std::string encodeBmp(const PixelImage& image) {
  const uint32_t rowBytes = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
  const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(image.height);
  constexpr uint32_t kHeaders = 14 + 40;
  constexpr uint32_t kPixelsPerMetre = 3780;  // 96 per inch

  std::string bmp;
  bmp.reserve(kHeaders + pixelBytes);
  bmp += "BM";
  appendLittleEndian32(bmp, kHeaders + pixelBytes);
  appendLittleEndian32(bmp, 0);
  appendLittleEndian32(bmp, kHeaders);
  appendLittleEndian32(bmp, 40);
  appendLittleEndian32(bmp, static_cast<uint32_t>(image.width));
  appendLittleEndian32(bmp, static_cast<uint32_t>(image.height));  // positive: bottom row first
  appendLittleEndian16(bmp, 1);
  appendLittleEndian16(bmp, 24);
  appendLittleEndian32(bmp, 0);  // no compression
  appendLittleEndian32(bmp, pixelBytes);
  appendLittleEndian32(bmp, kPixelsPerMetre);
  appendLittleEndian32(bmp, kPixelsPerMetre);
  appendLittleEndian32(bmp, 0);
  appendLittleEndian32(bmp, 0);

  std::string row(rowBytes, '\0');
  for (int y = image.height - 1; y >= 0; --y) {
    const uint32_t* pixels = image.row(y);
    for (int x = 0; x < image.width; ++x) {
      row[3 * x] = static_cast<char>(pixels[x]);            // blue
      row[3 * x + 1] = static_cast<char>(pixels[x] >> 8);   // green
      row[3 * x + 2] = static_cast<char>(pixels[x] >> 16);  // red
    }
    bmp += row;
  }
  return bmp;
}
