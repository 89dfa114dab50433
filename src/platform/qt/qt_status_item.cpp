#include "platform/qt/qt_toolkit.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

bool QtToolkit::CreateStatusItem() {
  if (statusItem_) return true;
  statusItem_ = std::make_unique<QSystemTrayIcon>();
  // A left click opens the same menu as the context click.
  QObject::connect(statusItem_.get(), &QSystemTrayIcon::activated,
                   [this](QSystemTrayIcon::ActivationReason reason) {
                     if (reason == QSystemTrayIcon::Trigger && statusMenu_ != nullptr) {
                       statusMenu_->popup(QCursor::pos());
                     }
                   });
  return true;
}

void QtToolkit::SetStatusItemImage(NativeHandle image) {
  if (!statusItem_) return;
  if (image == nullptr) {
    statusItem_->hide();
    return;
  }
  statusItem_->setIcon(QIcon(*static_cast<QPixmap*>(image)));
  // Shown even without a tray host: the icon embeds itself when a host appears later.
  statusItem_->show();
}

void QtToolkit::SetStatusItemMenu(NativeHandle menu) {
  statusMenu_ = static_cast<QMenu*>(menu);
  if (statusItem_) statusItem_->setContextMenu(statusMenu_);
}

void QtToolkit::RemoveStatusItem() {
  if (!statusItem_) return;
  statusItem_->hide();
  statusItem_.reset();
}
