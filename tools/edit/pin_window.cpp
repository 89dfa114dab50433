#include "pin_window.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

PinWindow::PinWindow(const QImage& picture, const QString& name)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(picture) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(tr("Pinned: %1").arg(name));
  setCursor(Qt::SizeAllCursor);
  applyScale();
}

void PinWindow::applyScale() {
  double pixels = scale_ / devicePixelRatioF();
  resize(std::max(8, qRound(picture_.width() * pixels)),
         std::max(8, qRound(picture_.height() * pixels)));
  update();
}

void PinWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, scale_ != 1);
  painter.drawImage(rect(), picture_);
}

void PinWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) grab_ = event->globalPosition().toPoint() - pos();
}

void PinWindow::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) move(event->globalPosition().toPoint() - grab_);
}

void PinWindow::mouseDoubleClickEvent(QMouseEvent*) {
  close();
}

void PinWindow::wheelEvent(QWheelEvent* event) {
  scale_ = std::clamp(scale_ * (event->angleDelta().y() > 0 ? 1.1 : 1 / 1.1), 0.05, 8.0);
  applyScale();
}

void PinWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) close();
}
