#pragma once

#include <xcb/xcb.h>

#include <vector>

#include "monitors.h"
#include "pick_outcome.h"
#include "pixel_image.h"

// Shows `frozen` (the whole root, taken just before) dimmed under one overlay per display; the
// user drags a rectangle, which is shown undimmed. Escape or a right click cancels, and so does a
// click that does not drag.
PickOutcome selectArea(xcb_connection_t* connection, xcb_screen_t* screen,
                       const std::vector<ScreenRect>& displays, const PixelImage& frozen);
