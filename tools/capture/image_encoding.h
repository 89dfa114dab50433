#pragma once

#include <optional>
#include <string>

#include "capture_request.h"
#include "pixel_image.h"
#include "strip_source.h"

// The file contents for `format`; empty when encoding failed. PNG and PDF encode the rows as
// they arrive; the other formats gather the whole picture first, and leave it in `whole` for
// whoever needs it afterwards (the clipboard).
std::string encodeImage(StripSource& source, ImageFormat format,
                        std::optional<PixelImage>* whole = nullptr);

// As many encoder threads as there are cores, and at least two.
int encoderThreads();
