#pragma once

#include <xcb/xcb.h>

#include <functional>
#include <optional>

#include "monitors.h"
#include "pixel_image.h"
#include "row_availability.h"

// Reads the pixels of `area` (root coordinates, clipped to the root) as the server shows them.
// Uses a shared-memory segment when the server offers one; that is several times faster than
// sending the pixels over the socket.
std::optional<PixelImage> grabRootArea(xcb_connection_t* connection, xcb_screen_t* screen,
                                       ScreenRect area);

// The same, in horizontal strips: `started` gets the image as soon as its storage exists, and
// `arriving` then counts the rows that have landed, so the caller can encode the top of the
// screen while the server still copies the bottom. On failure `arriving` is abandoned.
std::optional<PixelImage> grabRootAreaInStrips(
    xcb_connection_t* connection, xcb_screen_t* screen, ScreenRect area, RowAvailability& arriving,
    const std::function<void(const PixelImage&)>& started);
