#include "platform/qt/status_notifier_wait.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

namespace {

const QString Watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString WatcherPath = QStringLiteral("/StatusNotifierWatcher");

// A watcher answers at once; one that hangs is asked again when it next announces a host.
constexpr int CallTimeoutMs = 1000;

bool HostRegistered(QDBusConnection& bus) {
  QDBusMessage ask = QDBusMessage::createMethodCall(
      Watcher, WatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
      QStringLiteral("Get"));
  ask << Watcher << QStringLiteral("IsStatusNotifierHostRegistered");
  const QDBusMessage reply = bus.call(ask, QDBus::Block, CallTimeoutMs);
  return reply.type() == QDBusMessage::ReplyMessage &&
         reply.arguments().value(0).value<QDBusVariant>().variant().toBool();
}

}  // namespace

StatusNotifierWait::StatusNotifierWait(std::function<void()> ready)
    : watcher_(Watcher, QDBusConnection::sessionBus(), QDBusServiceWatcher::WatchForRegistration),
      ready_(std::move(ready)) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  // Without a session bus no tray can come: the item then waits for nothing, as on a desktop
  // without a tray.
  if (!bus.isConnected()) return;
  connect(&watcher_, &QDBusServiceWatcher::serviceRegistered, this, &StatusNotifierWait::Check);
  bus.connect(Watcher, WatcherPath, Watcher, QStringLiteral("StatusNotifierHostRegistered"), this,
              SLOT(Check()));
  Check();
}

void StatusNotifierWait::Check() {
  if (ready_ == nullptr) return;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!HostRegistered(bus)) return;
  bus.disconnect(Watcher, WatcherPath, Watcher, QStringLiteral("StatusNotifierHostRegistered"),
                 this, SLOT(Check()));
  watcher_.disconnect(this);
  std::exchange(ready_, nullptr)();
}
