#include "desktop_displays.h"

#include <QGuiApplication>
#include <QScreen>

#include <cstdlib>

std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv, bool displays) {
  if (!displays) return std::make_unique<QCoreApplication>(argc, argv);
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "wayland", 1);
  return std::make_unique<QGuiApplication>(argc, argv);
}

std::vector<ScreenRect> DesktopDisplays() {
  std::vector<ScreenRect> displays;
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return displays;
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary != nullptr) {
    const QRect r = primary->geometry();
    displays.push_back({r.x(), r.y(), r.width(), r.height()});
  }
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen == primary) continue;
    const QRect r = screen->geometry();
    displays.push_back({r.x(), r.y(), r.width(), r.height()});
  }
  return displays;
}
