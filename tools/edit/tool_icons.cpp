#include "tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace {

constexpr int kSide = 24;  // points; every picture is drawn on a 24x24 grid

QIcon drawnIcon(const std::function<void(QPainter&)>& draw) {
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap pixmap(kSide * scale, kSide * scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    draw(painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

QPen stroke(const QColor& ink, double width = 2) {
  return QPen(ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawTool(QPainter& p, Tool tool, const QColor& ink) {
  p.setPen(stroke(ink));
  p.setBrush(Qt::NoBrush);
  switch (tool) {
    case Tool::Select: {
      const QPointF pointer[] = {{7, 3},     {7, 19},    {11, 15}, {14, 21},
                                 {16.5, 20}, {13.5, 14}, {19, 14}};
      p.setPen(stroke(ink, 1.5));
      p.drawPolygon(pointer, std::size(pointer));
      break;
    }
    case Tool::Arrow: {
      p.drawLine(QPointF(5, 19), QPointF(18, 6));
      const QPointF head[] = {{19.5, 4.5}, {11.5, 7}, {17, 12.5}};
      p.setBrush(ink);
      p.drawPolygon(head, std::size(head));
      break;
    }
    case Tool::Line: p.drawLine(QPointF(5, 19), QPointF(19, 5)); break;
    case Tool::Rectangle: p.drawRect(QRectF(4, 6, 16, 12)); break;
    case Tool::Ellipse: p.drawEllipse(QRectF(3, 6, 18, 12)); break;
    case Tool::Pen: {
      QPainterPath path(QPointF(3, 16));
      path.cubicTo(7, 6, 10, 20, 14, 12);
      path.cubicTo(16, 8, 19, 9, 21, 7);
      p.drawPath(path);
      break;
    }
    case Tool::Highlighter: {
      QColor marker(255, 214, 0, 170);
      p.setPen(QPen(marker, 7, Qt::SolidLine, Qt::FlatCap));
      p.drawLine(QPointF(3, 14), QPointF(21, 14));
      p.setPen(stroke(ink, 1.5));
      p.drawLine(QPointF(5, 9), QPointF(19, 9));
      p.drawLine(QPointF(5, 19), QPointF(15, 19));
      break;
    }
    case Tool::Text: {
      QFont font = p.font();
      font.setPixelSize(19);
      font.setBold(true);
      p.setFont(font);
      p.drawText(QRectF(0, 0, kSide, kSide), Qt::AlignCenter, "A");
      break;
    }
    case Tool::Step: {
      p.setBrush(ink);
      p.drawEllipse(QRectF(3, 3, 18, 18));
      QFont font = p.font();
      font.setPixelSize(13);
      font.setBold(true);
      p.setFont(font);
      // Paper-coloured on the ink: the opposite of the ink's lightness.
      p.setPen(ink.lightness() > 128 ? Qt::black : Qt::white);
      p.drawText(QRectF(3, 3, 18, 18), Qt::AlignCenter, "1");
      break;
    }
    case Tool::Pixelate:
      p.setPen(Qt::NoPen);
      for (int cell = 0; cell < 16; ++cell) {
        QColor shade = ink;
        shade.setAlphaF((cell * 7 % 5 + 1) / 5.0f);
        p.setBrush(shade);
        p.drawRect(QRectF(4 + cell % 4 * 4, 4 + cell / 4 * 4, 4, 4));
      }
      break;
    case Tool::Blur: {
      QRadialGradient soft(12, 12, 9);
      soft.setColorAt(0, ink);
      QColor faded = ink;
      faded.setAlpha(0);
      soft.setColorAt(1, faded);
      p.setPen(Qt::NoPen);
      p.setBrush(soft);
      p.drawEllipse(QRectF(3, 3, 18, 18));
      break;
    }
    case Tool::Crop: {
      const QPointF first[] = {{7, 2}, {7, 17}, {22, 17}};
      const QPointF second[] = {{2, 7}, {17, 7}, {17, 22}};
      p.drawPolyline(first, std::size(first));
      p.drawPolyline(second, std::size(second));
      break;
    }
  }
}

}  // namespace

QIcon toolIcon(Tool tool, const QColor& ink) {
  return drawnIcon([&](QPainter& p) { drawTool(p, tool, ink); });
}

QIcon filledIcon(const QColor& ink) {
  return drawnIcon([&](QPainter& p) {
    p.setPen(stroke(ink));
    p.setBrush(ink);
    p.drawRect(QRectF(4, 6, 16, 12));
  });
}
