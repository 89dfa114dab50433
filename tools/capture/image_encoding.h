#pragma once

#include <string>

#include "capture_request.h"
#include "pixel_image.h"
#include "row_availability.h"

// The file contents for `format`; empty when encoding failed. With `arriving`, the image is
// still being read: PNG and PDF encode rows as they land, the others wait for all of them.
std::string encodeImage(const PixelImage& image, ImageFormat format,
                        RowAvailability* arriving = nullptr);
