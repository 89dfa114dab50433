#include "editor_canvas.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRandomGenerator>

#include "picture_rendering.h"

namespace {

constexpr double kHandle = 8;  // the resize handle's side, in screen pixels

bool drawsStroke(Tool tool) {
  return tool == Tool::Pen || tool == Tool::Highlighter;
}

}  // namespace

EditorCanvas::EditorCanvas(EditHistory& history, ToolSettings& settings, QWidget* parent)
    : QWidget(parent), history_(history), settings_(settings) {
  setMouseTracking(false);
  pictureChanged();
}

void EditorCanvas::setZoom(double zoom) {
  zoom_ = std::clamp(zoom, 0.02, 32.0);
  double scale = zoom_ / devicePixelRatioF();
  resize(std::max(1, qRound(rendered_.width() * scale)),
         std::max(1, qRound(rendered_.height() * scale)));
  // Below 100% the picture is scaled down once here, not on every paint.
  shown_ = QImage();
  if (zoom_ < 1) {
    QSize size(std::max(1, qRound(rendered_.width() * zoom_)),
               std::max(1, qRound(rendered_.height() * zoom_)));
    shown_ = rendered_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  update();
}

void EditorCanvas::pictureChanged() {
  if (typedItem_ >= 0 && typedItem_ < static_cast<int>(history_.now.items.size())) {
    Picture shown = history_.now;
    shown.items.erase(shown.items.begin() + typedItem_);
    rendered_ = renderPicture(shown);
  } else {
    rendered_ = renderPicture(history_.now);
  }
  if (selected_ >= static_cast<int>(history_.now.items.size())) selected_ = -1;
  setZoom(zoom_);
}

void EditorCanvas::deleteSelected() {
  if (selected_ < 0) return;
  recordChange(history_);
  history_.now.items.erase(history_.now.items.begin() + selected_);
  selected_ = -1;
  pictureChanged();
  emit edited();
}

QPointF EditorCanvas::toPicture(QPointF widgetPoint) const {
  return widgetPoint * devicePixelRatioF() / zoom_;
}

QRectF EditorCanvas::toWidget(const QRectF& pictureRect) const {
  double scale = zoom_ / devicePixelRatioF();
  return QRectF(pictureRect.topLeft() * scale, pictureRect.size() * scale);
}

void EditorCanvas::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  double scale = zoom_ / devicePixelRatioF();
  QRectF exposed = QRectF(event->rect());
  if (shown_.isNull()) {
    painter.drawImage(exposed, rendered_,
                      QRectF(exposed.topLeft() / scale, exposed.size() / scale));
  } else {
    double ratio = devicePixelRatioF();
    painter.drawImage(exposed, shown_, QRectF(exposed.topLeft() * ratio, exposed.size() * ratio));
  }
  painter.scale(scale, scale);
  if (draft_) paintStroke(painter, *draft_);
  if (draft_ && draft_->kind == Tool::Crop) {
    painter.setPen(QPen(Qt::black, 0, Qt::DashLine));
    painter.drawRect(itemRect(*draft_));
  }
  if (selected_ >= 0) {
    QRectF bounds = itemBounds(history_.now.items[selected_]);
    painter.resetTransform();
    QRectF box = toWidget(bounds);
    painter.setPen(QPen(palette().highlight().color(), 1, Qt::DashLine));
    painter.drawRect(box);
    painter.fillRect(
        QRectF(box.bottomRight() - QPointF(kHandle, kHandle), QSizeF(kHandle, kHandle)),
        palette().highlight());
  }
}

void EditorCanvas::commit(const Picture& before) {
  history_.done.push_back(before);
  history_.undone.clear();
  pictureChanged();
  emit edited();
}

void EditorCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  // A click beside the text being typed ends it, and does nothing else.
  if (typing_) return finishTyping(true);
  QPointF at = toPicture(event->position());
  dragStart_ = at;
  switch (settings_.tool) {
    case Tool::Select: {
      QRectF handle;
      if (selected_ >= 0) {
        QRectF box = toWidget(itemBounds(history_.now.items[selected_]));
        handle = QRectF(box.bottomRight() - QPointF(kHandle, kHandle), QSizeF(kHandle, kHandle));
      }
      if (handle.contains(event->position())) {
        drag_ = Drag::Resize;
      } else {
        selected_ = itemAt(history_.now, at);
        drag_ = selected_ >= 0 ? Drag::Move : Drag::None;
      }
      if (drag_ != Drag::None) beforeDrag_ = history_.now;
      update();
      return;
    }
    case Tool::Text: startTyping(at, -1); return;
    case Tool::Step: {
      Picture before = history_.now;
      Item step;
      step.kind = Tool::Step;
      step.points = {at};
      step.color = settings_.color;
      step.width = settings_.width;
      step.number = nextStepNumber(history_.now);
      history_.now.items.push_back(step);
      commit(before);
      return;
    }
    default: break;
  }
  Item item;
  item.kind = settings_.tool;
  item.points = {at, at};
  item.color = settings_.color;
  item.width = settings_.width;
  item.filled = settings_.filled;
  draft_ = item;
}

void EditorCanvas::mouseMoveEvent(QMouseEvent* event) {
  QPointF at = toPicture(event->position());
  if (draft_) {
    QRectF old = toWidget(itemBounds(*draft_));
    if (drawsStroke(draft_->kind)) {
      draft_->points.append(at);
    } else {
      draft_->points.last() = at;
    }
    // Only the stroke's area is drawn again, so a long stroke on a big picture stays quick.
    update(old.united(toWidget(itemBounds(*draft_))).toAlignedRect().adjusted(-2, -2, 2, 2));
    return;
  }
  if (drag_ == Drag::None || selected_ < 0) return;
  Item& item = history_.now.items[selected_];
  dragMoved_ = true;
  if (drag_ == Drag::Move) {
    moveItem(item, at - dragStart_);
    dragStart_ = at;
  } else {
    QRectF bounds = itemBounds(item);
    bounds.setBottomRight(at);
    if (bounds.width() > 2 && bounds.height() > 2) resizeItem(item, bounds);
  }
  pictureChanged();
}

void EditorCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (beforeDrag_) {
    Picture before = std::move(*beforeDrag_);
    beforeDrag_.reset();
    drag_ = Drag::None;
    if (dragMoved_) commit(before);
    dragMoved_ = false;
    return;
  }
  if (!draft_) return;
  Item item = std::move(*draft_);
  draft_.reset();
  QRectF rect = itemRect(item);
  bool tiny =
      drawsStroke(item.kind) ? item.points.size() < 2 : rect.width() < 2 && rect.height() < 2;
  bool needsArea = item.kind == Tool::Rectangle || item.kind == Tool::Ellipse ||
                   item.kind == Tool::Pixelate || item.kind == Tool::Blur ||
                   item.kind == Tool::Crop;
  if (tiny || (needsArea && (rect.width() < 2 || rect.height() < 2))) {
    update();
    return;
  }
  Picture before = history_.now;
  if (item.kind == Tool::Crop) {
    cropPicture(history_.now, rect.toAlignedRect());
  } else {
    if (item.kind == Tool::Pixelate) item.maskKey = QRandomGenerator::global()->generate64();
    history_.now.items.push_back(std::move(item));
  }
  commit(before);
}

void EditorCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
  if (settings_.tool != Tool::Select) return;
  int index = itemAt(history_.now, toPicture(event->position()));
  if (index >= 0 && history_.now.items[index].kind == Tool::Text) {
    startTyping(history_.now.items[index].points.front(), index);
  }
}

void EditorCanvas::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) {
    event->ignore();
    return;
  }
  emit zoomAsked(event->angleDelta().y() > 0 ? 1.25 : 0.8);
  event->accept();
}

void EditorCanvas::startTyping(QPointF at, int index) {
  finishTyping(true);
  typedAt_ = at;
  typedItem_ = index;
  typing_ = new QLineEdit(this);
  typing_->setFrame(false);
  typing_->setTextMargins(0, 0, 0, 0);
  // The text shows as it will be drawn, over the picture.
  typing_->setStyleSheet("background: transparent");
  const Item* item = index >= 0 ? &history_.now.items[index] : nullptr;
  QPalette colours = typing_->palette();
  colours.setColor(QPalette::Text, item ? item->color : settings_.color);
  typing_->setPalette(colours);
  if (item) typing_->setText(item->text);
  typing_->installEventFilter(this);
  connect(typing_, &QLineEdit::textChanged, this, &EditorCanvas::placeTypingBox);
  connect(typing_, &QLineEdit::editingFinished, this, [this] { finishTyping(true); });
  if (item) pictureChanged();
  placeTypingBox();
  typing_->show();
  typing_->setFocus();
}

void EditorCanvas::placeTypingBox() {
  if (!typing_) return;
  const double scale = zoom_ / devicePixelRatioF();
  QFont font;
  font.setPixelSize(std::max(1, qRound(settings_.fontSize * scale)));
  typing_->setFont(font);
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(typing_->text() + "MM");
  typing_->setGeometry(QRect(toWidget(QRectF(typedAt_, QSizeF())).topLeft().toPoint(),
                             QSize(width, metrics.height() + 2)));
}

bool EditorCanvas::eventFilter(QObject* watched, QEvent* event) {
  if (watched == typing_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    finishTyping(false);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

// Kept, a new text becomes an item and a changed one changes; emptied, a text goes. Each is
// one step to undo. Dropped, the picture is as before.
void EditorCanvas::finishTyping(bool keep) {
  if (!typing_) return;
  QLineEdit* typed = typing_;
  typing_ = nullptr;
  typed->disconnect(this);
  typed->hide();
  typed->deleteLater();
  const QString text = typed->text();
  const int index = std::exchange(typedItem_, -1);
  setFocus();
  // An item opened again was hidden while typed in.
  const auto unchanged = [&] {
    if (index >= 0) pictureChanged();
  };
  if (!keep || (index < 0 && text.isEmpty())) return unchanged();
  Picture before = history_.now;
  if (index < 0) {
    Item item;
    item.kind = Tool::Text;
    item.points = {typedAt_};
    item.color = settings_.color;
    item.fontSize = settings_.fontSize;
    item.text = text;
    history_.now.items.push_back(item);
  } else if (text.isEmpty()) {
    history_.now.items.erase(history_.now.items.begin() + index);
    selected_ = -1;
  } else {
    Item& item = history_.now.items[index];
    if (text == item.text && item.fontSize == settings_.fontSize) return unchanged();
    item.text = text;
    item.fontSize = settings_.fontSize;
  }
  commit(before);
}
