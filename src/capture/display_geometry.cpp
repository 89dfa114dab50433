#include "capture/display_geometry.h"

#include <limits>

namespace {

bool Holds(const DisplayRect& display, Point point) {
  return point.x >= display.x && point.x <= display.x + display.width && point.y >= display.y &&
         point.y <= display.y + display.height;
}

// How far `value` lies outside [low, high]; 0 inside.
long long OutsideBy(int value, int low, int high) {
  if (value < low) return static_cast<long long>(low) - value;
  if (value > high) return static_cast<long long>(value) - high;
  return 0;
}

}  // namespace

std::vector<DisplayRect> CurrentDisplays() {
  std::vector<DisplayRect> displays;
  const int count = DisplayCount();
  for (int index = 0; index < count; ++index) displays.push_back(DisplayGeometry(index));
  return displays;
}

int PointerDisplayIndex(const std::vector<DisplayRect>& displays, Point pointer) {
  if (displays.empty()) return -1;
  for (int index = static_cast<int>(displays.size()) - 1; index >= 0; --index) {
    if (Holds(displays[static_cast<std::size_t>(index)], pointer)) return index;
  }
  return 0;
}

int PointerDisplayIndex() {
  return PointerDisplayIndex(CurrentDisplays(), PointerLocation());
}

int DisplayUnderWindow(const std::vector<DisplayRect>& displays, Point corner) {
  for (std::size_t index = 0; index < displays.size(); ++index) {
    if (Holds(displays[index], corner)) return static_cast<int>(index);
  }
  return -1;
}

int DisplayUnderWindow(std::int64_t window) {
  if (WindowExists(window) == 0) return -1;
  return DisplayUnderWindow(CurrentDisplays(), {WindowX(window), WindowY(window)});
}

int NearestDisplayIndex(const std::vector<DisplayRect>& displays, Point point) {
  int nearest = -1;
  long long best = std::numeric_limits<long long>::max();
  for (std::size_t index = 0; index < displays.size(); ++index) {
    const DisplayRect& d = displays[index];
    const long long dx = OutsideBy(point.x, d.x, d.x + d.width);
    const long long dy = OutsideBy(point.y, d.y, d.y + d.height);
    const long long distance = dx * dx + dy * dy;
    if (distance < best) {
      best = distance;
      nearest = static_cast<int>(index);
    }
  }
  return nearest;
}

std::optional<Point> CentreOnPointerDisplay(const std::vector<DisplayRect>& displays, Point pointer,
                                            int width, int height) {
  // Without displays the index is -1, which must not be read as a display.
  const int index = PointerDisplayIndex(displays, pointer);
  if (index < 0) return std::nullopt;
  const DisplayRect& d = displays[static_cast<std::size_t>(index)];
  return Point{d.x + (d.width - width) / 2, d.y + (d.height - height) / 2};
}

void CentreOnPointerDisplay(std::int64_t window) {
  if (WindowExists(window) == 0) return;
  const std::optional<Point> corner =
      CentreOnPointerDisplay(CurrentDisplays(), PointerLocation(), WindowContentWidth(window),
                             WindowContentHeight(window));
  if (corner) MoveWindow(window, corner->x, corner->y, IgnoreCoordinate, IgnoreCoordinate);
}
