#include "platform/qt/qt_host.h"

#include <QApplication>
#include <QEvent>

#include "platform/host.h"
#include "platform/qt/dark_appearance.h"
#include "platform/toolkit.h"

QtHost::~QtHost() {
  ObserveAppearance(false);
}

namespace {

bool OnWayland() {
  return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace

bool QtHost::Supported() {
  return desktop_ && (QGuiApplication::platformName() == "xcb" || OnWayland());
}

std::string QtHost::Requirement() {
  return "Sorry, this program needs an X11 desktop session or a Wayland one (no display could "
         "be opened).";
}

std::string QtHost::CaptureToolName() {
  // Wayland lets no client read the screen: the desktop's screenshot portal takes it.
  return desktop_ && OnWayland() ? "vantorshot-portal-capture" : "vantorshot-capture";
}

void QtHost::BecomeAccessory() {
  // No main window: closing the last toolkit window must not end the program.
  if (desktop_) QApplication::setQuitOnLastWindowClosed(false);
}

void QtHost::ObserveAppearance(bool on) {
  if (!desktop_ || on == observing_) return;
  observing_ = on;
  if (on) {
    dark_ = DesktopIsDark();
    qApp->installEventFilter(this);
  } else {
    qApp->removeEventFilter(this);
  }
}

bool QtHost::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  // Palette and theme changes reach every widget: only a change of the answer is reported.
  if ((type == QEvent::ApplicationPaletteChange && watched == qApp) ||
      type == QEvent::ThemeChange) {
    const bool dark = DesktopIsDark();
    if (dark != dark_) {
      dark_ = dark;
      QueueEvent(AppearanceChangedEvent, 0, 0, 0, PostCustom);
    }
  }
  return QObject::eventFilter(watched, event);
}
