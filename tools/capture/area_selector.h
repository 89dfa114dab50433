#pragma once

#include <xcb/xcb.h>

#include <vector>

#include "monitors.h"
#include "pick_outcome.h"

// Shows `frozen` (a copy of the whole root) dimmed over the screen; the user drags a rectangle,
// which is shown undimmed. Escape or a right click cancels, and so does a click that does not
// drag. The pointer and keyboard are held before the overlay is mapped, so once it shows, every
// click and key is ours.
PickOutcome selectArea(xcb_connection_t* connection, xcb_screen_t* screen,
                       const std::vector<ScreenRect>& displays, xcb_pixmap_t frozen);
