#include "byte_writer.h"
#include "image_encoders.h"

namespace {

enum FieldType : uint16_t { kShort = 3, kLong = 4, kRational = 5 };

void appendEntry(std::string& out, uint16_t tag, FieldType type, uint32_t count, uint32_t value) {
  appendLittleEndian16(out, tag);
  appendLittleEndian16(out, type);
  appendLittleEndian32(out, count);
  if (type == kShort && count == 1) {
    appendLittleEndian16(out, static_cast<uint16_t>(value));  // left-justified in the field
    appendLittleEndian16(out, 0);
  } else {
    appendLittleEndian32(out, value);
  }
}

}  // namespace

// A baseline RGB TIFF: header, one strip of pixels, then the directory and the values that do
// not fit in it.
std::string encodeTiff(const PixelImage& image) {
  const uint32_t pixelBytes = static_cast<uint32_t>(image.width) * image.height * 3;
  constexpr uint32_t kPixelsAt = 8;
  constexpr uint16_t kEntries = 12;
  const uint32_t directoryAt = kPixelsAt + pixelBytes + (pixelBytes & 1);  // word aligned
  const uint32_t extraAt = directoryAt + 2 + kEntries * 12 + 4;
  const uint32_t bitsAt = extraAt;
  const uint32_t xResolutionAt = bitsAt + 6 + 2;
  const uint32_t yResolutionAt = xResolutionAt + 8;

  std::string tiff;
  tiff.reserve(yResolutionAt + 8);
  tiff += "II";
  appendLittleEndian16(tiff, 42);
  appendLittleEndian32(tiff, directoryAt);
  for (int y = 0; y < image.height; ++y) {
    const uint32_t* pixels = image.row(y);
    for (int x = 0; x < image.width; ++x) {
      tiff.push_back(static_cast<char>(pixels[x] >> 16));
      tiff.push_back(static_cast<char>(pixels[x] >> 8));
      tiff.push_back(static_cast<char>(pixels[x]));
    }
  }
  if (pixelBytes & 1) tiff.push_back('\0');

  appendLittleEndian16(tiff, kEntries);  // tags in ascending order
  appendEntry(tiff, 256, kLong, 1, static_cast<uint32_t>(image.width));
  appendEntry(tiff, 257, kLong, 1, static_cast<uint32_t>(image.height));
  appendEntry(tiff, 258, kShort, 3, bitsAt);    // bits per sample: 8, 8, 8
  appendEntry(tiff, 259, kShort, 1, 1);         // no compression
  appendEntry(tiff, 262, kShort, 1, 2);         // RGB
  appendEntry(tiff, 273, kLong, 1, kPixelsAt);  // strip offset
  appendEntry(tiff, 277, kShort, 1, 3);         // samples per pixel
  appendEntry(tiff, 278, kLong, 1, static_cast<uint32_t>(image.height));  // rows per strip
  appendEntry(tiff, 279, kLong, 1, pixelBytes);                           // strip bytes
  appendEntry(tiff, 282, kRational, 1, xResolutionAt);
  appendEntry(tiff, 283, kRational, 1, yResolutionAt);
  appendEntry(tiff, 296, kShort, 1, 2);  // resolution in inches
  appendLittleEndian32(tiff, 0);         // no further directory

  for (int i = 0; i < 3; ++i) appendLittleEndian16(tiff, 8);
  appendLittleEndian16(tiff, 0);  // keeps the rationals word aligned
  for (int i = 0; i < 2; ++i) {
    appendLittleEndian32(tiff, 96);
    appendLittleEndian32(tiff, 1);
  }
  return tiff;
}
