#include <QColor>

#include "platform/qt/qt_toolkit.h"
#include "platform/qt/qt_window.h"

void QtToolkit::SetWindowBackground(NativeHandle window, std::int64_t rgb, int cornerRadius) {
  // The value holds red in its low byte: 0xBBGGRR.
  const QColor color(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                     static_cast<int>((rgb >> 16) & 0xFF));
  static_cast<ToolkitWindow*>(window)->SetPlate(color, cornerRadius);
}

void QtToolkit::SetWindowOpacity(NativeHandle window, double opacity) {
  // Without a compositor the desktop ignores this and the window stays opaque, and legible.
  static_cast<ToolkitWindow*>(window)->setWindowOpacity(opacity);
}
