#pragma once

#include <QImage>
#include <QPainter>

#include "annotation.h"

// Draws one item onto `target`, which holds everything below it (pixelation and blur read it).
void drawItem(QImage& target, const Item& item);

// Draws a stroke item (the one being dragged) with a painter already set up in picture pixels.
void paintStroke(QPainter& painter, const Item& item);

// The base with every item drawn on it, opaque RGB32.
QImage renderPicture(const Picture& picture);
