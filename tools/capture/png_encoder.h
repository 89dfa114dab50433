#pragma once

#include <string>

#include "pixel_image.h"
#include "row_availability.h"

// The zlib stream of a PNG's image data (8-bit RGB rows, each with its filter byte). The rows are
// cut into bands that are filtered and deflated on `threads` threads at once; each band ends on a
// byte boundary (a sync flush), so the bands join into one valid stream whose checksum is
// combined from theirs. With `arriving`, a band starts as soon as its rows (and the row above)
// have arrived, so encoding overlaps reading the screen.
std::string deflateFilteredRows(const PixelImage& image, int threads,
                                RowAvailability* arriving = nullptr);

// A standard 8-bit RGB PNG around deflateFilteredRows.
std::string encodePng(const PixelImage& image, int threads, RowAvailability* arriving = nullptr);
