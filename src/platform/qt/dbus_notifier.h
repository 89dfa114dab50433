#pragma once

// Notifications through the desktop's notification service on the session bus
// (org.freedesktop.Notifications). Every call is asynchronous with a time-out: without a bus or
// a service the program goes on as if nothing had been asked.

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "platform/notifications.h"

class DBusNotifier final : public QObject, public Notifier {
  Q_OBJECT

 public:
  DBusNotifier();
  void Notify(const Notification& notification) override;
  bool Sending() const override { return sending_; }

 private slots:
  void OnActionInvoked(uint id, const QString& action);
  void OnClosed(uint id, uint reason);

 private:
  void Send(const Notification& notification, const QStringList& capabilities);
  void Done();
  void ShowFile(const std::string& path);

  // What the actions of a notification still on screen act on.
  struct Targets {
    std::string shows, edits;
  };

  QDBusConnection bus_;
  // One notification is on its way at a time, so that each knows the one it replaces; of those
  // that come meanwhile only the newest is kept, as it would replace the others at once.
  bool sending_ = false;
  std::optional<Notification> next_;
  // The notification this program showed last, which the next one replaces.
  uint last_ = 0;
  std::map<uint, Targets> targets_;
};
