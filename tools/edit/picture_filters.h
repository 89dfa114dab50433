#pragma once

#include <QImage>
#include <QRect>

#include <cstdint>

// The side of a pixelation block, in picture pixels.
constexpr int kPixelBlock = 12;

// Replaces `area` of `image` (RGB32 or ARGB32) with blocks of one colour each that cannot be
// turned back into the pixels: each block takes the mean of the 3x3 blocks around it, moved by
// a jitter drawn from a hash of `key` and the block's place, and never its own mean.
void pixelateArea(QImage& image, const QRect& area, uint64_t key);

// Blurs `area` of `image` with three box passes of `radius` each way (close to a Gaussian).
void blurArea(QImage& image, const QRect& area, int radius);
