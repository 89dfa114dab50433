#pragma once

#include <string>

#include "capture_request.h"
#include "pixel_image.h"

// The file contents for `format`; empty when encoding failed.
std::string encodeImage(const PixelImage& image, ImageFormat format);
