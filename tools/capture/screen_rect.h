#pragma once

#include <algorithm>

// A rectangle in root window coordinates.
struct ScreenRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  bool empty() const { return width <= 0 || height <= 0; }
  int right() const { return x + width; }
  int bottom() const { return y + height; }
};

// The part of `a` inside `b`: every clipping in the tool goes through here. Empty when they do
// not overlap.
inline ScreenRect intersect(ScreenRect a, ScreenRect b) {
  int left = std::max(a.x, b.x);
  int top = std::max(a.y, b.y);
  int right = std::min(a.right(), b.right());
  int bottom = std::min(a.bottom(), b.bottom());
  if (right <= left || bottom <= top) return {};
  return {left, top, right - left, bottom - top};
}
