#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// Pixels as the X server stores them at depth 24/32: one 32-bit word per pixel,
// 0x00RRGGBB (the top byte carries nothing). `owner` keeps the storage alive, which may be a
// shared-memory segment or a plain heap buffer.
struct PixelImage {
  int width = 0;
  int height = 0;
  std::size_t stride = 0;  // in pixels
  uint32_t* pixels = nullptr;
  std::shared_ptr<void> owner;

  uint32_t* row(int y) const { return pixels + static_cast<std::size_t>(y) * stride; }
  bool empty() const { return width <= 0 || height <= 0; }
};

PixelImage allocatePixelImage(int width, int height);
PixelImage cropPixelImage(const PixelImage& image, int x, int y, int width, int height);
