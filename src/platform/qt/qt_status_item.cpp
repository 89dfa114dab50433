#include "platform/qt/qt_toolkit.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QSystemTrayIcon>

#include "platform/qt/status_notifier_wait.h"

namespace {

// Wayland's only tray is the D-Bus one, whose hosts may leave the menu to the program.
bool OnWayland() {
  return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace

bool QtToolkit::CreateStatusItem() {
  if (statusItem_ || statusWait_) return true;
  if (OnWayland()) {
    statusWait_ = std::make_unique<StatusNotifierWait>([this] { MakeStatusItem(); });
    return true;
  }
  MakeStatusItem();
  return true;
}

void QtToolkit::MakeStatusItem() {
  statusItem_ = std::make_unique<QSystemTrayIcon>();
  // A left click opens the same menu as the context click; a D-Bus tray host that shows no
  // menu of its own asks for it with the context click. On Wayland the menu has no window to
  // hang from: it shows as a window of its own, of fixed size so that tiling compositors float
  // it, placed by the compositor.
  const bool wayland = OnWayland();
  QObject::connect(statusItem_.get(), &QSystemTrayIcon::activated,
                   [this, wayland](QSystemTrayIcon::ActivationReason reason) {
                     const bool wanted = reason == QSystemTrayIcon::Trigger ||
                                         (wayland && reason == QSystemTrayIcon::Context);
                     if (!wanted || statusMenu_ == nullptr) return;
                     if (wayland) statusMenu_->setFixedSize(statusMenu_->sizeHint());
                     statusMenu_->popup(QCursor::pos());
                   });
  if (statusMenu_ != nullptr) statusItem_->setContextMenu(statusMenu_);
  if (!statusIcon_.isNull()) {
    statusItem_->setIcon(statusIcon_);
    // Shown even without a tray host: the icon embeds itself when a host appears later.
    statusItem_->show();
  }
}

void QtToolkit::SetStatusItemImage(NativeHandle image) {
  statusIcon_ = image == nullptr ? QIcon() : QIcon(*static_cast<QPixmap*>(image));
  if (!statusItem_) return;
  if (statusIcon_.isNull()) {
    statusItem_->hide();
    return;
  }
  statusItem_->setIcon(statusIcon_);
  statusItem_->show();
}

void QtToolkit::SetStatusItemMenu(NativeHandle menu) {
  statusMenu_ = static_cast<QMenu*>(menu);
  if (statusItem_) statusItem_->setContextMenu(statusMenu_);
}

void QtToolkit::RemoveStatusItem() {
  statusWait_.reset();
  statusIcon_ = QIcon();
  if (!statusItem_) return;
  statusItem_->hide();
  statusItem_.reset();
}
