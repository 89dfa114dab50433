#pragma once

// Which part of the portal's picture of the whole desktop shows one display.

#include <vector>

#include "screen_rect.h"

// `displays` in the desktop's own (logical) coordinates; the picture covers their bounding box
// at whatever scale the portal chose. Empty when `display` is not one of them.
ScreenRect DisplayInPicture(const std::vector<ScreenRect>& displays, int display, int pictureWidth,
                            int pictureHeight);
