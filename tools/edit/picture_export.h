#pragma once

#include <QImage>
#include <QString>

#include <optional>
#include <string>

#include "capture_request.h"

// The format a file name's extension asks for (png, jpg/jpeg, tif/tiff, bmp, pdf).
std::optional<ImageFormat> formatForPath(const QString& path);

// The file's contents in `format`, through the capture tools' encoders; empty on failure.
std::string encodePicture(const QImage& image, ImageFormat format);

// Encodes and puts the picture at `path` in one step (see replaceFile). An error text, or empty.
std::string savePicture(const QImage& image, const QString& path, ImageFormat format);
