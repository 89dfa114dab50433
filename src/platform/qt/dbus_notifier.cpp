#include "platform/qt/dbus_notifier.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QImage>
#include <QImageReader>
#include <QUrl>

#include <utility>

#include "platform/process.h"
#include "platform/process_opener.h"
#include "platform/qt/qt_text.h"

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");

// Replies come back at once from a live service; a hung one is given up on.
constexpr int CallTimeoutMs = 2000;
constexpr int PictureSide = 256;

// Calls without waiting; `done` runs with the reply, or with null when the call failed or timed
// out.
template <typename Done>
void CallThen(QDBusConnection& bus, QObject* owner, const QDBusMessage& call, Done done) {
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, CallTimeoutMs), owner);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, owner,
                   [done](QDBusPendingCallWatcher* finished) {
                     finished->deleteLater();
                     const QDBusMessage reply = finished->reply();
                     done(finished->isError() ? nullptr : &reply);
                   });
}

// The picture as the notification's image hint: a small copy, never the file.
QVariant PictureHint(const std::string& path) {
  QImageReader reader(QtText(path));
  if (!reader.canRead()) return {};
  const QSize size = reader.size();
  if (size.isValid() && (size.width() > PictureSide || size.height() > PictureSide)) {
    reader.setScaledSize(size.scaled(PictureSide, PictureSide, Qt::KeepAspectRatio));
  }
  const QImage image = reader.read().convertToFormat(QImage::Format_RGBA8888);
  if (image.isNull()) return {};
  QDBusArgument hint;
  hint.beginStructure();
  hint << image.width() << image.height() << static_cast<int>(image.bytesPerLine()) << true << 8
       << 4
       << QByteArray(reinterpret_cast<const char*>(image.constBits()),
                     static_cast<qsizetype>(image.sizeInBytes()));
  hint.endStructure();
  return QVariant::fromValue(hint);
}

}  // namespace

DBusNotifier::DBusNotifier() : bus_(QDBusConnection::sessionBus()) {
  if (!bus_.isConnected()) return;
  bus_.connect(Service, Path, Interface, QStringLiteral("ActionInvoked"), this,
               SLOT(OnActionInvoked(uint, QString)));
  bus_.connect(Service, Path, Interface, QStringLiteral("NotificationClosed"), this,
               SLOT(OnClosed(uint, uint)));
}

void DBusNotifier::Notify(const Notification& notification) {
  if (!bus_.isConnected()) return;
  if (sending_) {
    next_ = notification;
    return;
  }
  sending_ = true;
  // What the service can show decides what is sent: asked each time, as it may change.
  const QDBusMessage ask =
      QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("GetCapabilities"));
  CallThen(bus_, this, ask, [this, notification](const QDBusMessage* reply) {
    if (reply == nullptr) return Done();
    Send(notification, reply->arguments().value(0).toStringList());
  });
}

void DBusNotifier::Send(const Notification& notification, const QStringList& capabilities) {
  QVariantMap hints;
  const bool pictures = capabilities.contains(QStringLiteral("icon-static")) ||
                        capabilities.contains(QStringLiteral("icon-multi")) ||
                        capabilities.contains(QStringLiteral("body-images"));
  if (pictures && !notification.picture.empty()) {
    if (const QVariant picture = PictureHint(notification.picture); picture.isValid()) {
      hints.insert(QStringLiteral("image-data"), picture);
    }
  }
  QStringList actions;
  if (capabilities.contains(QStringLiteral("actions")) && !notification.shows.empty()) {
    actions << QStringLiteral("default") << QStringLiteral("Show");
  }
  QDBusMessage call =
      QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
  call << QStringLiteral("Vantor Shot II") << last_ << QStringLiteral("vantorshot")
       << QtText(notification.title) << QtText(notification.body) << actions << hints
       << static_cast<int>(-1);
  const std::string shows = notification.shows;
  CallThen(bus_, this, call, [this, shows](const QDBusMessage* reply) {
    if (reply != nullptr) {
      last_ = reply->arguments().value(0).toUInt();
      if (!shows.empty()) shows_[last_] = shows;
    }
    Done();
  });
}

void DBusNotifier::Done() {
  sending_ = false;
  if (!next_) return;
  const Notification next = *std::exchange(next_, std::nullopt);
  Notify(next);
}

void DBusNotifier::OnActionInvoked(uint id, const QString& action) {
  const auto found = shows_.find(id);
  if (found == shows_.end() || action != QStringLiteral("default")) return;
  ShowFile(found->second);
}

void DBusNotifier::OnClosed(uint id, uint) {
  shows_.erase(id);
}

void DBusNotifier::ShowFile(const std::string& path) {
  // The file manager selects the file in its folder where it offers to; else the folder opens.
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.FileManager1"),
      QStringLiteral("/org/freedesktop/FileManager1"),
      QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
  call << QStringList{QUrl::fromLocalFile(QtText(path)).toString()} << QString();
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, CallTimeoutMs), this);
  QObject::connect(
      watcher, &QDBusPendingCallWatcher::finished, this, [path](QDBusPendingCallWatcher* finished) {
        finished->deleteLater();
        if (!finished->isError()) return;
        StartProcessWords(OpenerProgram(), {path.substr(0, path.find_last_of('/') + 1)}, "", 0);
      });
}
