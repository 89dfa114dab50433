#pragma once

#include <QImage>

// Coloured 16x16 blocks with a little per-pixel noise on top: every pixel differs from its
// neighbours, so any shift or swap shows, while the blocks keep JPEG's error small.
QImage blockPattern(int width, int height, unsigned seed);

QImage solidImage(int width, int height, QRgb colour);
