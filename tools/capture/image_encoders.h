#pragma once

#include <string>

#include "pixel_image.h"
#include "strip_source.h"

// Each returns the whole file, or empty when encoding failed. All are 8-bit RGB.
std::string encodeJpeg(const PixelImage& image, int quality);
std::string encodeTiff(const PixelImage& image);
std::string encodeBmp(const PixelImage& image);
// One page exactly the size of the image at 96 pixels per inch, the image kept lossless.
std::string encodePdf(StripSource& source, int threads);
