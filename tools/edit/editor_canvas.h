#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <optional>

class QLineEdit;

#include "edit_history.h"

// What the tools share: the colour, the stroke width, outline or filled, the text size.
struct ToolSettings {
  Tool tool = Tool::Rectangle;
  QColor color = Qt::red;
  int width = 3;
  bool filled = false;
  int fontSize = 24;
};

// The picture at its zoom with the items on it, and the tools' work with the pointer.
// Zoom is picture pixels per device pixel, so at 100% a picture pixel is a screen pixel on any
// monitor scale.
class EditorCanvas : public QWidget {
  Q_OBJECT
 public:
  EditorCanvas(EditHistory& history, ToolSettings& settings, QWidget* parent = nullptr);

  double zoom() const { return zoom_; }
  void setZoom(double zoom);
  // Call after the history changed from outside (undo, redo).
  void pictureChanged();
  void deleteSelected();
  const QImage& rendered() const { return rendered_; }
  // Ends the text being typed, keeping it; before any command, so that it takes the text too.
  void endTyping() { finishTyping(true); }

 signals:
  void edited();
  void zoomAsked(double factor);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointF toPicture(QPointF widgetPoint) const;
  QRectF toWidget(const QRectF& pictureRect) const;
  void commit(const Picture& before);
  // Opens a line to type in on the picture, at `at`, for item `index` (-1: a new text).
  void startTyping(QPointF at, int index);
  void placeTypingBox();
  void finishTyping(bool keep);

  EditHistory& history_;
  ToolSettings& settings_;
  QImage rendered_;
  QImage shown_;  // rendered_ at the zoom, when that is below 100%
  double zoom_ = 1;
  std::optional<Item> draft_;
  int selected_ = -1;
  enum class Drag { None, Move, Resize } drag_ = Drag::None;
  QPointF dragStart_;
  std::optional<Picture> beforeDrag_;
  bool dragMoved_ = false;
  // The text being typed, where, and the item it changes (-1 for a new one), which is not
  // drawn meanwhile.
  QPointer<QLineEdit> typing_;
  QPointF typedAt_;
  int typedItem_ = -1;
};
