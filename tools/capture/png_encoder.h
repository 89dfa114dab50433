#pragma once

#include <string>

#include "pixel_image.h"

// A standard 8-bit RGB PNG. The rows are cut into bands that are filtered and deflated on
// `threads` threads at once; each band ends on a byte boundary (a sync flush), so the bands join
// into one valid zlib stream whose checksum is combined from theirs.
std::string encodePng(const PixelImage& image, int threads);
