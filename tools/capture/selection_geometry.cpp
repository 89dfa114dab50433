#include "selection_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kHandleReach = 6;  // how far from a handle's centre a press still takes it

// The pointer's column or row as an edge after it: the next one, except on a display's last
// column or row, where the pointer stops and the edge is past it.
int edgeAfter(int x, int y, bool column, const std::vector<ScreenRect>& displays) {
  for (const ScreenRect& display : displays) {
    if (intersect({x, y, 1, 1}, display).empty()) continue;
    if (column) return x == display.right() - 1 ? x + 1 : x;
    return y == display.bottom() - 1 ? y + 1 : y;
  }
  return column ? x : y;
}

// One axis of a resize: the held edge goes to `to`, the other stays at `fixed`; `toLow` tells
// whether the held edge ended up as the low one.
void spanAxis(int fixed, int to, int toAfter, int& low, int& high, bool& toLow) {
  toLow = to < fixed;
  low = toLow ? to : fixed;
  high = toLow ? fixed : toAfter;
}

}  // namespace

ScreenRect dragArea(int x0, int y0, int x1, int y1, const std::vector<ScreenRect>& displays) {
  ScreenRect area{std::min(x0, x1), std::min(y0, y1), std::abs(x1 - x0), std::abs(y1 - y0)};
  if (area.empty()) return area;
  for (const ScreenRect& display : displays) {
    ScreenRect corner = intersect({area.right(), area.bottom(), 1, 1}, display);
    if (corner.empty()) continue;
    if (corner.x == display.right() - 1) ++area.width;
    if (corner.y == display.bottom() - 1) ++area.height;
    break;
  }
  return area;
}

std::vector<Handle> handlesOf(ScreenRect s) {
  int middleX = s.x + s.width / 2;
  int middleY = s.y + s.height / 2;
  return {
      {kLeftEdge | kTopEdge, s.x, s.y},
      {kRightEdge | kTopEdge, s.right(), s.y},
      {kLeftEdge | kBottomEdge, s.x, s.bottom()},
      {kRightEdge | kBottomEdge, s.right(), s.bottom()},
      {kTopEdge, middleX, s.y},
      {kBottomEdge, middleX, s.bottom()},
      {kLeftEdge, s.x, middleY},
      {kRightEdge, s.right(), middleY},
  };
}

unsigned heldPart(ScreenRect selection, int x, int y) {
  if (selection.empty()) return kNoEdge;
  for (const Handle& handle : handlesOf(selection)) {
    if (std::abs(handle.x - x) <= kHandleReach && std::abs(handle.y - y) <= kHandleReach) {
      return handle.edges;
    }
  }
  return intersect({x, y, 1, 1}, selection).empty() ? kNoEdge : kInside;
}

ScreenRect resizeTo(ScreenRect s, unsigned& edges, int x, int y,
                    const std::vector<ScreenRect>& displays) {
  int left = s.x, right = s.right(), top = s.y, bottom = s.bottom();
  bool toLow = false;
  if (edges & (kLeftEdge | kRightEdge)) {
    int fixed = edges & kLeftEdge ? right : left;
    spanAxis(fixed, x, edgeAfter(x, y, true, displays), left, right, toLow);
    edges = (edges & ~(kLeftEdge | kRightEdge)) | (toLow ? kLeftEdge : kRightEdge);
  }
  if (edges & (kTopEdge | kBottomEdge)) {
    int fixed = edges & kTopEdge ? bottom : top;
    spanAxis(fixed, y, edgeAfter(x, y, false, displays), top, bottom, toLow);
    edges = (edges & ~(kTopEdge | kBottomEdge)) | (toLow ? kTopEdge : kBottomEdge);
  }
  return {left, top, std::max(1, right - left), std::max(1, bottom - top)};
}

ScreenRect moveWithin(ScreenRect s, int dx, int dy, ScreenRect bounds) {
  s.x = std::clamp(s.x + dx, bounds.x, std::max(bounds.x, bounds.right() - s.width));
  s.y = std::clamp(s.y + dy, bounds.y, std::max(bounds.y, bounds.bottom() - s.height));
  return s;
}

ScreenRect growWithin(ScreenRect s, int dx, int dy, ScreenRect bounds) {
  s.width = std::clamp(s.width + dx, 1, std::max(1, bounds.right() - s.x));
  s.height = std::clamp(s.height + dy, 1, std::max(1, bounds.bottom() - s.y));
  return s;
}
