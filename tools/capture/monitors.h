#pragma once

#include <xcb/xcb.h>

#include <vector>

#include "screen_rect.h"

// The displays in the order users see them listed: the primary one first, then the others in
// the server's order (the order Qt gives its screens). Without RandR monitors: the root window.
std::vector<ScreenRect> listMonitors(xcb_connection_t* connection, xcb_screen_t* screen);
