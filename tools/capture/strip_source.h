#pragma once

#include <algorithm>
#include <cstring>
#include <optional>

#include "pixel_image.h"

// A run of whole rows of an image, top to bottom, and the row just above it (the PNG filters
// predict from it); `above` is null for the top strip.
struct Strip {
  int firstRow = 0;
  PixelImage rows;
  const uint32_t* above = nullptr;
};

// Hands out an image's rows in strips, top to bottom, so that an encoder can work on the top of
// the picture while the rest is still on its way and never needs all of it at once.
class StripSource {
 public:
  virtual ~StripSource() = default;
  virtual int width() const = 0;
  virtual int height() const = 0;
  // The strip after the last one given; nothing at the end or when the rows cannot be had.
  virtual std::optional<Strip> next() = 0;
  // True when next() stopped early.
  virtual bool failed() const = 0;
};

// The rows of an image already in memory.
class ImageStrips : public StripSource {
 public:
  explicit ImageStrips(const PixelImage& image, int rowsPerStrip = 64)
      : image_(image), rowsPerStrip_(std::max(rowsPerStrip, 1)) {}
  int width() const override { return image_.width; }
  int height() const override { return image_.height; }
  bool failed() const override { return false; }
  std::optional<Strip> next() override {
    if (nextRow_ >= image_.height) return std::nullopt;
    Strip strip;
    strip.firstRow = nextRow_;
    strip.rows = cropPixelImage(image_, 0, nextRow_, image_.width, rowsPerStrip_);
    strip.above = nextRow_ > 0 ? image_.row(nextRow_ - 1) : nullptr;
    nextRow_ += strip.rows.height;
    return strip;
  }

 private:
  PixelImage image_;
  int rowsPerStrip_;
  int nextRow_ = 0;
};

// Gathers every strip into one image, for encoders that need the whole picture.
inline std::optional<PixelImage> readWholeImage(StripSource& source) {
  PixelImage image = allocatePixelImage(source.width(), source.height());
  while (std::optional<Strip> strip = source.next()) {
    for (int y = 0; y < strip->rows.height; ++y) {
      std::memcpy(image.row(strip->firstRow + y), strip->rows.row(y),
                  static_cast<std::size_t>(image.width) * 4);
    }
  }
  if (source.failed()) return std::nullopt;
  return image;
}
