#pragma once

#include <xcb/xcb.h>

#include "monitors.h"
#include "pixel_image.h"

// Root grabs never contain the pointer: this draws the current cursor image into `image`, which
// shows the root area `area`, with the cursor's hot spot on the pointer position.
void drawPointer(xcb_connection_t* connection, PixelImage& image, ScreenRect area);
