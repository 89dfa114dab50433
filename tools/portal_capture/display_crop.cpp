#include "display_crop.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

DisplayPart DisplayInPicture(const std::vector<DesktopDisplay>& displays, int display,
                             int pictureWidth, int pictureHeight) {
  if (display < 0 || display >= static_cast<int>(displays.size())) return {};
  const ScreenRect& first = displays.front().area;
  int left = first.x, top = first.y, right = first.right(), bottom = first.bottom();
  for (const DesktopDisplay& d : displays) {
    left = std::min(left, d.area.x);
    top = std::min(top, d.area.y);
    right = std::max(right, d.area.right());
    bottom = std::max(bottom, d.area.bottom());
  }
  if (right <= left || bottom <= top) return {};
  const double sx = static_cast<double>(pictureWidth) / (right - left);
  const double sy = static_cast<double>(pictureHeight) / (bottom - top);
  const DesktopDisplay& d = displays[static_cast<std::size_t>(display)];
  const int x = static_cast<int>(std::lround((d.area.x - left) * sx));
  const int y = static_cast<int>(std::lround((d.area.y - top) * sy));
  const ScreenRect scaled{x, y, static_cast<int>(std::lround((d.area.right() - left) * sx)) - x,
                          static_cast<int>(std::lround((d.area.bottom() - top) * sy)) - y};
  const ScreenRect part = intersect(scaled, {0, 0, pictureWidth, pictureHeight});
  DisplayPart shown{part, 1, part.width, part.height};
  const double factor = sx / std::max(d.scale, 1);
  if (factor < 1.001 || std::abs(sx - sy) > 1e-3) return shown;
  const int whole = static_cast<int>(std::lround(factor));
  if (std::abs(factor - whole) < 1e-3) {
    shown.shrink = whole;
    shown.width = part.width / whole;
    shown.height = part.height / whole;
  } else {
    shown.width = std::max(1, static_cast<int>(std::lround(part.width / factor)));
    shown.height = std::max(1, static_cast<int>(std::lround(part.height / factor)));
  }
  return shown;
}

PixelImage ShrinkByBlocks(const PixelImage& image, int factor) {
  if (factor <= 1) return image;
  PixelImage small = allocatePixelImage(image.width / factor, image.height / factor);
  const uint32_t count = static_cast<uint32_t>(factor * factor);
  for (int y = 0; y < small.height; ++y) {
    uint32_t* out = small.row(y);
    for (int x = 0; x < small.width; ++x) {
      uint32_t r = 0, g = 0, b = 0;
      for (int j = 0; j < factor; ++j) {
        const uint32_t* in = image.row(y * factor + j) + x * factor;
        for (int i = 0; i < factor; ++i) {
          r += (in[i] >> 16) & 0xff;
          g += (in[i] >> 8) & 0xff;
          b += in[i] & 0xff;
        }
      }
      const auto mean = [count](uint32_t sum) { return (sum + count / 2) / count; };
      out[x] = mean(r) << 16 | mean(g) << 8 | mean(b);
    }
  }
  return small;
}
