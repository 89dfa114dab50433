#pragma once

#include <string>
#include <vector>

#include "pixel_image.h"
#include "strip_source.h"

// A PNG's image data (8-bit RGB rows, each with its filter byte) as one zlib stream, in pieces
// in order: header, one piece per strip, checksum. Strips are filtered and deflated on `threads`
// threads at once as they arrive; each ends on a byte boundary (a sync flush), so they join into
// one valid stream whose checksum is combined from theirs. Empty when the rows could not be read.
std::vector<std::string> deflateFilteredRows(StripSource& source, int threads);

// A standard 8-bit RGB PNG around deflateFilteredRows; empty on failure.
std::string encodePng(StripSource& source, int threads);
std::string encodePng(const PixelImage& image, int threads);

// The pieces joined into one string, each freed once copied.
std::string joinPieces(std::vector<std::string>& pieces);
