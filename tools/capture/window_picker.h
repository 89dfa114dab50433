#pragma once

#include <xcb/xcb.h>

#include "pick_outcome.h"

// The user moves the pointer over windows (the top-level window under it is outlined) and clicks
// one; Escape cancels. The area is that window's frame, clipped to the root.
PickOutcome pickWindow(xcb_connection_t* connection, xcb_screen_t* screen);
