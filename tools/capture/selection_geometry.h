#pragma once

#include <vector>

#include "screen_rect.h"

// The rectangle spanned by a drag from (x0, y0) to (x1, y1). The pointer stops on a display's
// last column and row, so a drag that reaches one includes it.
ScreenRect dragArea(int x0, int y0, int x1, int y1, const std::vector<ScreenRect>& displays);

// The edges a handle of the selection moves; a corner moves two. Inside moves the whole.
enum Edge : unsigned { kNoEdge = 0, kLeftEdge = 1, kRightEdge = 2, kTopEdge = 4, kBottomEdge = 8 };
constexpr unsigned kInside = 16;

// The handles' centres: the four corners and the middles of the four edges.
struct Handle {
  unsigned edges;
  int x;
  int y;
};
std::vector<Handle> handlesOf(ScreenRect selection);

// What a press at (x, y) takes hold of: a handle's edges, kInside, or kNoEdge outside.
unsigned heldPart(ScreenRect selection, int x, int y);

// `selection` with the `edges` brought to the pointer at (x, y). An edge dragged across its
// opposite one flips over, and `edges` then names the edge it became.
ScreenRect resizeTo(ScreenRect selection, unsigned& edges, int x, int y,
                    const std::vector<ScreenRect>& displays);

// `selection` moved by (dx, dy), but no further than the edges of `bounds`.
ScreenRect moveWithin(ScreenRect selection, int dx, int dy, ScreenRect bounds);

// `selection` with its right and bottom edges moved by (dx, dy), at least one pixel wide and
// tall and not past the edges of `bounds`.
ScreenRect growWithin(ScreenRect selection, int dx, int dy, ScreenRect bounds);
