#include "pixel_image.h"

#include "screen_rect.h"

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
  ScreenRect kept = intersect({x, y, width, height}, {0, 0, image.width, image.height});
  PixelImage part = image;  // shares the storage: no copy
  part.width = kept.width;
  part.height = kept.height;
  part.pixels = image.pixels + static_cast<std::size_t>(kept.y) * image.stride + kept.x;
  return part;
}
