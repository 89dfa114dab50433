#pragma once

// Qt puts a status item on the D-Bus tray (a StatusNotifierItem) only when a watcher with a
// registered host is on the session bus as the first item is made, and never looks again. On
// Wayland, where there is no other tray, the item is made once both are there.

#include <QDBusServiceWatcher>
#include <QObject>

#include <functional>

class StatusNotifierWait final : public QObject {
  Q_OBJECT

 public:
  // Calls `ready` once the watcher has a host: from the constructor when it has one now.
  explicit StatusNotifierWait(std::function<void()> ready);
  bool Ready() const { return ready_ == nullptr; }

 private slots:
  void Check();

 private:
  QDBusServiceWatcher watcher_;
  std::function<void()> ready_;
};
