#include "selection_cursor.h"

#include <X11/cursorfont.h>

#include "input_grab.h"
#include "selection_geometry.h"

namespace {

uint16_t glyphFor(unsigned part) {
  switch (part) {
    case kInside: return XC_fleur;
    case kLeftEdge | kTopEdge: return XC_top_left_corner;
    case kRightEdge | kTopEdge: return XC_top_right_corner;
    case kLeftEdge | kBottomEdge: return XC_bottom_left_corner;
    case kRightEdge | kBottomEdge: return XC_bottom_right_corner;
    case kTopEdge: return XC_top_side;
    case kBottomEdge: return XC_bottom_side;
    case kLeftEdge: return XC_left_side;
    case kRightEdge: return XC_right_side;
    default: return XC_crosshair;
  }
}

}  // namespace

// The grab starts with the crosshair.
SelectionCursor::SelectionCursor(xcb_connection_t* connection, uint16_t pointerEvents)
    : connection_(connection), pointerEvents_(pointerEvents), shown_(XC_crosshair) {}

SelectionCursor::~SelectionCursor() {
  for (const auto& [glyph, cursor] : cursors_) xcb_free_cursor(connection_, cursor);
}

void SelectionCursor::show(unsigned part) {
  const uint16_t glyph = glyphFor(part);
  if (glyph == shown_) return;
  shown_ = glyph;
  auto made = cursors_.find(glyph);
  if (made == cursors_.end())
    made = cursors_.emplace(glyph, createFontCursor(connection_, glyph)).first;
  xcb_change_active_pointer_grab(connection_, made->second, XCB_CURRENT_TIME, pointerEvents_);
  // Sent now: the wait for the next event sends nothing.
  xcb_flush(connection_);
}
