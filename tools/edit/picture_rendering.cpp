#include "picture_rendering.h"

#include <QFont>
#include <QLineF>
#include <QPainterPath>

#include <cmath>

#include "picture_filters.h"

namespace {

constexpr int kBlurRadius = 6;

QPen strokePen(const Item& item) {
  QPen pen(item.color, item.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  if (item.kind == Tool::Highlighter) {
    pen.setWidth(item.width * 4);
    pen.setCapStyle(Qt::SquareCap);
  }
  return pen;
}

void paintArrowHead(QPainter& painter, const Item& item) {
  QLineF shaft(item.points.first(), item.points.last());
  if (shaft.length() < 1) return;
  double length = 4.0 * item.width + 8;
  QLineF back = QLineF(shaft.p2(), shaft.p1());
  back.setLength(length);
  QLineF left = back, right = back;
  left.setAngle(back.angle() + 25);
  right.setAngle(back.angle() - 25);
  painter.setBrush(item.color);
  painter.drawPolygon(QPolygonF({shaft.p2(), left.p2(), right.p2()}));
}

}  // namespace

void paintStroke(QPainter& painter, const Item& item) {
  if (item.points.isEmpty()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(strokePen(item));
  painter.setBrush(Qt::NoBrush);
  QRectF rect = itemRect(item);
  switch (item.kind) {
    case Tool::Line: painter.drawLine(item.points.first(), item.points.last()); break;
    case Tool::Arrow:
      painter.drawLine(item.points.first(), item.points.last());
      painter.setPen(QPen(item.color, 1));
      paintArrowHead(painter, item);
      break;
    case Tool::Rectangle:
    case Tool::Ellipse:
      if (item.filled) painter.setBrush(item.color);
      if (item.kind == Tool::Rectangle) {
        painter.drawRect(rect);
      } else {
        painter.drawEllipse(rect);
      }
      break;
    case Tool::Pen: painter.drawPolyline(item.points); break;
    case Tool::Highlighter:
      // Multiplying darkens light paper and leaves dark text as dark as it was.
      painter.setCompositionMode(QPainter::CompositionMode_Multiply);
      painter.drawPolyline(item.points);
      break;
    case Tool::Text: {
      QFont font;
      font.setPixelSize(std::max(item.fontSize, 1));
      painter.setFont(font);
      painter.setPen(item.color);
      painter.drawText(itemBounds(item), Qt::AlignLeft | Qt::AlignTop, item.text);
      break;
    }
    case Tool::Step: {
      QRectF circle = itemBounds(item);
      painter.setPen(Qt::NoPen);
      painter.setBrush(item.color);
      painter.drawEllipse(circle);
      QFont font;
      font.setPixelSize(static_cast<int>(circle.height() * 0.6));
      font.setBold(true);
      painter.setFont(font);
      painter.setPen(item.color.lightness() > 160 ? Qt::black : Qt::white);
      painter.drawText(circle, Qt::AlignCenter, QString::number(item.number));
      break;
    }
    case Tool::Pixelate:
    case Tool::Blur:
      painter.setPen(QPen(Qt::gray, 0, Qt::DashLine));
      painter.drawRect(rect);
      break;
    case Tool::Select:
    case Tool::Crop: break;
  }
  painter.restore();
}

void drawItem(QImage& target, const Item& item) {
  if (item.kind == Tool::Pixelate || item.kind == Tool::Blur) {
    QRect area = itemRect(item).toAlignedRect();
    if (item.kind == Tool::Pixelate) {
      pixelateArea(target, area, item.maskKey);
    } else {
      blurArea(target, area, kBlurRadius);
    }
    return;
  }
  QPainter painter(&target);
  paintStroke(painter, item);
}

QImage renderPicture(const Picture& picture) {
  QImage result = picture.base.convertToFormat(QImage::Format_RGB32);
  for (const Item& item : picture.items) drawItem(result, item);
  return result;
}
