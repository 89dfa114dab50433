#include "desktop_displays.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdlib>

std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv, bool displays) {
  if (!displays) return std::make_unique<QCoreApplication>(argc, argv);
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "wayland", 1);
  return std::make_unique<QGuiApplication>(argc, argv);
}

namespace {

DesktopDisplay displayOf(const QScreen& screen) {
  const QRect r = screen.geometry();
  return {{r.x(), r.y(), r.width(), r.height()},
          std::max(1, static_cast<int>(std::lround(screen.devicePixelRatio())))};
}

}  // namespace

std::vector<DesktopDisplay> DesktopDisplays() {
  std::vector<DesktopDisplay> displays;
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return displays;
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary != nullptr) displays.push_back(displayOf(*primary));
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen != primary) displays.push_back(displayOf(*screen));
  }
  return displays;
}
