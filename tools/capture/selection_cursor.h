#pragma once

#include <xcb/xcb.h>

#include <map>

// The pointer's shape while a selection is adjusted: the arrows of a handle's edges over a
// handle, a four-way arrow inside, the crosshair elsewhere, so that what a press would take
// hold of shows before the press.
class SelectionCursor {
 public:
  // `pointerEvents` are those the active grab was made with: changing its cursor restates them.
  SelectionCursor(xcb_connection_t* connection, uint16_t pointerEvents);
  SelectionCursor(const SelectionCursor&) = delete;
  SelectionCursor& operator=(const SelectionCursor&) = delete;
  ~SelectionCursor();

  // `part` as heldPart() names it: kNoEdge, kInside or a handle's edges.
  void show(unsigned part);

 private:
  xcb_connection_t* connection_;
  uint16_t pointerEvents_;
  uint16_t shown_;                            // the glyph
  std::map<uint16_t, xcb_cursor_t> cursors_;  // by glyph, made when first shown
};
