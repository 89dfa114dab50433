#include "display_crop.h"

#include <algorithm>
#include <cmath>

ScreenRect DisplayInPicture(const std::vector<ScreenRect>& displays, int display, int pictureWidth,
                            int pictureHeight) {
  if (display < 0 || display >= static_cast<int>(displays.size())) return {};
  int left = displays.front().x, top = displays.front().y;
  int right = left + displays.front().width, bottom = top + displays.front().height;
  for (const ScreenRect& d : displays) {
    left = std::min(left, d.x);
    top = std::min(top, d.y);
    right = std::max(right, d.x + d.width);
    bottom = std::max(bottom, d.y + d.height);
  }
  if (right <= left || bottom <= top) return {};
  const double sx = static_cast<double>(pictureWidth) / (right - left);
  const double sy = static_cast<double>(pictureHeight) / (bottom - top);
  const ScreenRect& d = displays[static_cast<std::size_t>(display)];
  const int x = static_cast<int>(std::lround((d.x - left) * sx));
  const int y = static_cast<int>(std::lround((d.y - top) * sy));
  const ScreenRect scaled{x, y, static_cast<int>(std::lround((d.x - left + d.width) * sx)) - x,
                          static_cast<int>(std::lround((d.y - top + d.height) * sy)) - y};
  return intersect(scaled, {0, 0, pictureWidth, pictureHeight});
}
