#pragma once

#include <QColor>
#include <QImage>
#include <QPolygonF>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <vector>

// What the pointer does on the canvas. Every kind but Select and Crop leaves an item.
enum class Tool {
  Select,
  Arrow,
  Line,
  Rectangle,
  Ellipse,
  Pen,
  Highlighter,
  Text,
  Step,
  Pixelate,
  Blur,
  Crop
};

// One drawn thing, in picture pixels. `points` holds the two corners of a shape, the two ends
// of a line or arrow, the path of a pen or highlighter stroke, or the anchor of a text or step.
struct Item {
  Tool kind = Tool::Rectangle;
  QPolygonF points;
  QColor color = Qt::red;
  int width = 3;
  bool filled = false;
  QString text;
  int fontSize = 24;
  int number = 0;        // a step marker's number
  uint64_t maskKey = 0;  // a pixelation's jitter key, kept so that every redraw is the same
};

// The picture under the items and the items, bottom first.
struct Picture {
  QImage base;
  std::vector<Item> items;
};

// The area an item may touch, in picture pixels.
QRectF itemBounds(const Item& item);

// The rectangle spanned by an item's first and last point, normalised.
QRectF itemRect(const Item& item);

// The topmost item whose area holds `point`, or -1.
int itemAt(const Picture& picture, QPointF point);

// Moves an item by `offset`, or scales it so that its area becomes `bounds`.
void moveItem(Item& item, QPointF offset);
void resizeItem(Item& item, const QRectF& bounds);

// The number the next step marker gets: one more than the highest so far.
int nextStepNumber(const Picture& picture);

// Cuts the picture down to `area` (clipped to it); the items keep their place on the picture.
void cropPicture(Picture& picture, const QRect& area);
