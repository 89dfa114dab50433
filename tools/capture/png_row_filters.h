#pragma once

#include <cstddef>
#include <cstdint>

// PNG rows of 8-bit RGB: the bytes of one row, and the five ways of predicting them.
enum PngFilter : unsigned char { kNone = 0, kSub = 1, kUp = 2, kAverage = 3, kPaeth = 4 };

// The row's pixels (0x00RRGGBB) as R, G, B bytes.
void rgbBytes(const uint32_t* pixels, int width, unsigned char* out);

// One filtered row: its filter byte, then `bytes` predicted from `row` and `above` (null for the
// top row of the picture, which PNG predicts from zeros).
void filterRow(PngFilter filter, const unsigned char* row, const unsigned char* above,
               std::size_t bytes, unsigned char* out);

// The row filtered the way whose bytes, read as signed, sum to the least: the usual guess at
// what deflate will code smallest. Returns the filter taken.
PngFilter filterRowAdaptively(const unsigned char* row, const unsigned char* above,
                              std::size_t bytes, unsigned char* out);
