#pragma once

#include <QImage>
#include <QWidget>

// The picture in a frameless window that stays above the others: dragged to move, the wheel
// scales it, Escape or a double click closes it. At scale 1 a picture pixel is a screen pixel.
class PinWindow : public QWidget {
 public:
  explicit PinWindow(const QImage& picture, const QString& name);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void applyScale();

  QImage picture_;
  double scale_ = 1;
  QPoint grab_;
};
