#include "pixel_image.h"

#include <algorithm>

PixelImage allocatePixelImage(int width, int height) {
  auto storage = std::make_shared<uint32_t[]>(static_cast<std::size_t>(width) * height);
  PixelImage image;
  image.width = width;
  image.height = height;
  image.stride = static_cast<std::size_t>(width);
  image.pixels = storage.get();
  image.owner = storage;
  return image;
}

PixelImage cropPixelImage(const PixelImage& image, int x, int y, int width, int height) {
  PixelImage part = image;  // shares the storage: no copy
  x = std::clamp(x, 0, image.width);
  y = std::clamp(y, 0, image.height);
  part.width = std::clamp(width, 0, image.width - x);
  part.height = std::clamp(height, 0, image.height - y);
  part.pixels = image.pixels + static_cast<std::size_t>(y) * image.stride + x;
  return part;
}
