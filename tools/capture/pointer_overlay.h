#pragma once

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <optional>

#include "pixel_image.h"
#include "screen_rect.h"
#include "xcb_handles.h"

// The pointer's picture and where it is, as XFixes tells: root grabs never contain the pointer.
using PointerPicture = XcbReply<xcb_xfixes_get_cursor_image_reply_t>;

// Empty when the server cannot tell (no XFixes): the capture then goes on without the pointer.
std::optional<PointerPicture> readPointer(xcb_connection_t* connection);

// Draws the pointer into `image`, which shows the root area `area`, with the cursor's hot spot on
// the pointer position.
void drawPointer(const PointerPicture& pointer, PixelImage& image, ScreenRect area);
