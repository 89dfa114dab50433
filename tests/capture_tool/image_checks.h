#pragma once

#include <QImage>
#include <QRect>
#include <QString>

// Decodes with Qt, as RGB32 (a null image when it cannot).
QImage readImage(const QString& path);

// Decodes with ImageMagick instead, a second decoder independent of the one Qt uses.
QImage readWithImageMagick(const QString& path);

// The single image embedded in a PDF, extracted losslessly by poppler's pdfimages.
QImage readPdfImage(const QString& path);

// How many pixels differ in colour (alpha ignored); sizes must match, else -1.
long long differingPixels(const QImage& a, const QImage& b);

// The mean absolute difference per colour channel; -1 if sizes differ.
double meanChannelError(const QImage& a, const QImage& b);
