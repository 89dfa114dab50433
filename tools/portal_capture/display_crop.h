#pragma once

// Which part of the portal's picture of the whole desktop shows one display, and how that part
// becomes the display's own pixels.

#include <vector>

#include "pixel_image.h"
#include "screen_rect.h"

// A display as the desktop lays it out: its place in the desktop's own (logical) coordinates
// and its scale, the physical pixels a logical one takes on it (whole numbers, as Wayland
// announces them).
struct DesktopDisplay {
  ScreenRect area;
  int scale = 1;
};

// Where `display` is in a picture that covers the displays' bounding box at whatever scale the
// portal chose, and the display's physical size that part is to be brought to. The portal draws
// every display at the highest scale, so a display of a lower scale is there enlarged: by a
// whole factor `shrink` (undone by ShrinkByBlocks), or else by a fraction (shrink 1, and the
// part larger than the size). `part` is empty when `display` is not one of them.
struct DisplayPart {
  ScreenRect part;
  int shrink = 1;
  int width = 0, height = 0;
};
DisplayPart DisplayInPicture(const std::vector<DesktopDisplay>& displays, int display,
                             int pictureWidth, int pictureHeight);

// Each `factor` x `factor` block of `image` becomes one pixel, the rounded mean of its pixels'
// channels (a remainder narrower than a block is left out). A picture enlarged by repeating each
// pixel comes back unchanged.
PixelImage ShrinkByBlocks(const PixelImage& image, int factor);
