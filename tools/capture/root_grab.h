#pragma once

#include <xcb/xcb.h>

#include <optional>

#include "monitors.h"
#include "pixel_image.h"

// Reads the pixels of `area` (root coordinates, clipped to the root) as the server shows them.
// Uses a shared-memory segment when the server offers one; that is several times faster than
// sending the pixels over the socket.
std::optional<PixelImage> grabRootArea(xcb_connection_t* connection, xcb_screen_t* screen,
                                       ScreenRect area);
