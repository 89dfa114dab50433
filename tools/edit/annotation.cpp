#include "annotation.h"

#include <QFont>
#include <QFontMetricsF>

#include <algorithm>

namespace {

constexpr double kStepRadiusBase = 12;

double stepRadius(const Item& item) {
  return kStepRadiusBase + item.width;
}

QRectF textBox(const Item& item) {
  QFont font;
  font.setPixelSize(std::max(item.fontSize, 1));
  QFontMetricsF metrics(font);
  QRectF box = metrics.boundingRect(QRectF(0, 0, 1e6, 1e6), Qt::AlignLeft | Qt::AlignTop,
                                    item.text.isEmpty() ? QStringLiteral(" ") : item.text);
  return box.translated(item.points.value(0));
}

}  // namespace

QRectF itemRect(const Item& item) {
  if (item.points.isEmpty()) return {};
  return QRectF(item.points.first(), item.points.last()).normalized();
}

QRectF itemBounds(const Item& item) {
  if (item.points.isEmpty()) return {};
  switch (item.kind) {
    case Tool::Text: return textBox(item);
    case Tool::Step: {
      double r = stepRadius(item);
      return QRectF(item.points.first() - QPointF(r, r), QSizeF(2 * r, 2 * r));
    }
    case Tool::Pixelate:
    case Tool::Blur: return itemRect(item);
    default: break;
  }
  // Strokes reach half their width beyond the path; an arrow's head reaches further.
  double reach = item.kind == Tool::Highlighter ? item.width * 2.0 : item.width / 2.0 + 1;
  if (item.kind == Tool::Arrow) reach += 4.0 * item.width + 8;
  return item.points.boundingRect().adjusted(-reach, -reach, reach, reach);
}

int itemAt(const Picture& picture, QPointF point) {
  for (int i = static_cast<int>(picture.items.size()) - 1; i >= 0; --i) {
    if (itemBounds(picture.items[i]).contains(point)) return i;
  }
  return -1;
}

void moveItem(Item& item, QPointF offset) {
  item.points.translate(offset);
}

void resizeItem(Item& item, const QRectF& bounds) {
  QRectF from = item.points.boundingRect();
  if (item.kind == Tool::Text || item.kind == Tool::Step || from.width() <= 0 ||
      from.height() <= 0) {
    // Points without extent, and texts, keep their size: only their place follows.
    moveItem(item, bounds.topLeft() - itemBounds(item).topLeft());
    return;
  }
  QRectF to = bounds;
  if (item.kind != Tool::Pixelate && item.kind != Tool::Blur) {
    double reach = (itemBounds(item).width() - from.width()) / 2;
    to = bounds.adjusted(reach, reach, -reach, -reach);
  }
  for (QPointF& p : item.points) {
    p = to.topLeft() + QPointF((p.x() - from.left()) * to.width() / from.width(),
                               (p.y() - from.top()) * to.height() / from.height());
  }
}

int nextStepNumber(const Picture& picture) {
  int highest = 0;
  for (const Item& item : picture.items) {
    if (item.kind == Tool::Step) highest = std::max(highest, item.number);
  }
  return highest + 1;
}

void cropPicture(Picture& picture, const QRect& area) {
  QRect kept = area.intersected(picture.base.rect());
  if (kept.isEmpty()) return;
  picture.base = picture.base.copy(kept);
  for (Item& item : picture.items) moveItem(item, -QPointF(kept.topLeft()));
}
