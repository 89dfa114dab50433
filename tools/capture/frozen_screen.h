#pragma once

#include <xcb/render.h>
#include <xcb/xcb.h>

#include "screen_rect.h"
#include "xcb_handles.h"

// What the root shows, windows included, copied into a pixmap in the server: the overlay shows
// it and the selection is cut from it, so the picture is what the user saw when the overlay came
// up and no pixel has to travel to this process before the user has chosen.
class FrozenScreen {
 public:
  // `format` is the root's picture format (rootPictureFormat), asked beforehand so that no round
  // trip falls between showing the overlay and freezing.
  FrozenScreen(xcb_connection_t* connection, xcb_screen_t* screen, xcb_render_pictformat_t format);

  xcb_pixmap_t pixmap() const { return pixmap_.id(); }

  // Copies `area` of the frozen screen onto `window` (which covers the root from its origin),
  // at half brightness when `dimmed` and the server can darken it (RENDER).
  void paint(xcb_window_t window, ScreenRect area, bool dimmed) const;

 private:
  xcb_connection_t* connection_;
  xcb_render_pictformat_t format_;
  ServerPixmap pixmap_;
};

// The picture format of the root's visual, or none without RENDER.
xcb_render_pictformat_t rootPictureFormat(xcb_connection_t* connection, xcb_screen_t* screen);

// True when a compositing manager draws the screen: then a window's contents are its own and
// not what was on screen below it.
bool screenIsComposited(xcb_connection_t* connection, int screenNumber);
