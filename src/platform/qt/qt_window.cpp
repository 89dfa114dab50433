#include "platform/qt/qt_window.h"

#include <QCloseEvent>
#include <QMoveEvent>
#include <QPainterPath>
#include <QRegion>
#include <QWindow>

#include "platform/native_toolkit.h"
#include "platform/qt/held_keys.h"
#include "platform/toolkit.h"

namespace {
constexpr const char* GadgetNumberProperty = "toolkitGadget";
constexpr const char* GadgetWindowProperty = "toolkitWindow";
}  // namespace

ToolkitWindow::ToolkitWindow(std::int64_t number, std::uint32_t flags)
    : number_(number), flags_(flags) {
  ApplyFlags(false);
}

void ToolkitWindow::ApplyFlags(bool floating) {
  Qt::WindowFlags qt = Qt::Tool;
  if ((flags_ & WindowBorderless) != 0) {
    qt |= Qt::FramelessWindowHint;
  } else {
    qt |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if ((flags_ & WindowCloseButton) != 0) qt |= Qt::WindowCloseButtonHint;
  }
  if (floating) qt |= Qt::WindowStaysOnTopHint;
  setWindowFlags(qt);
}

void ToolkitWindow::closeEvent(QCloseEvent* event) {
  // The application decides whether the window closes.
  event->ignore();
  if ((flags_ & WindowCloseButton) != 0) PostToolkitEvent(CloseWindowEvent, number_, number_, 0);
}

void ToolkitWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  PostToolkitEvent(WindowMovedEvent, number_, number_, 0);
}

void ToolkitWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  NoteKeysHeldNow();
  // Where windows cannot learn their place (Wayland), a move to another screen is the move
  // there is to tell.
  if (watchingScreen_ || windowHandle() == nullptr) return;
  watchingScreen_ = true;
  connect(windowHandle(), &QWindow::screenChanged, this,
          [this] { PostToolkitEvent(WindowMovedEvent, number_, number_, 0); });
}

void ToolkitWindow::SetPlate(const QColor& color, int cornerRadius) {
  QPalette plate = palette();
  plate.setColor(QPalette::Window, color);
  setPalette(plate);
  setAutoFillBackground(true);
  cornerRadius_ = cornerRadius;
  ShapeCorners();
}

void ToolkitWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // Moved onto a screen of another scale, the window keeps its pixels while its contents are
  // drawn at the new scale, and would cut them: it takes back the size its layout was made for.
  if (minimumSize() == maximumSize() && size() != minimumSize()) {
    resize(minimumSize());
    return;
  }
  if (cornerRadius_ > 0) ShapeCorners();
}

void ToolkitWindow::ShapeCorners() {
  if (cornerRadius_ <= 0) {
    clearMask();
    return;
  }
  QPainterPath path;
  path.addRoundedRect(QRectF(rect()), cornerRadius_, cornerRadius_);
  setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void MarkGadget(QWidget* widget, std::int64_t number, std::int64_t window) {
  widget->setProperty(GadgetNumberProperty, QVariant::fromValue<qint64>(number));
  widget->setProperty(GadgetWindowProperty, QVariant::fromValue<qint64>(window));
}

std::int64_t GadgetNumberOf(const QWidget* widget) {
  const QVariant number = widget->property(GadgetNumberProperty);
  return number.isValid() ? number.value<qint64>() : -1;
}

std::int64_t GadgetWindowOf(const QWidget* widget) {
  const QVariant window = widget->property(GadgetWindowProperty);
  return window.isValid() ? window.value<qint64>() : -1;
}
