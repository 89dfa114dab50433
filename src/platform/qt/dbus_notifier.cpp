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
#include "platform/program_location.h"
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
  // Without the capability a service shows no actions, and may show their keys as text.
  QStringList actions;
  if (capabilities.contains(QStringLiteral("actions"))) {
    if (!notification.shows.empty()) actions << QStringLiteral("default") << QStringLiteral("Show");
    if (!notification.edits.empty()) {
      actions << QStringLiteral("annotate") << QStringLiteral("Annotate") << QStringLiteral("pin")
              << QStringLiteral("Pin");
    }
  }
  // A service that reads markup in the body would take a "&" or "<" in a file name for it.
  QString body = QtText(notification.body);
  if (capabilities.contains(QStringLiteral("body-markup"))) body = body.toHtmlEscaped();
  QDBusMessage call =
      QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
  call << QStringLiteral("Vantor Shot II") << last_ << QStringLiteral("vantorshot")
       << QtText(notification.title) << body << actions << hints << static_cast<int>(-1);
  const Targets targets{notification.shows, notification.edits};
  CallThen(bus_, this, call, [this, targets](const QDBusMessage* reply) {
    if (reply != nullptr) {
      last_ = reply->arguments().value(0).toUInt();
      // The service keeps the number of the notification replaced: the old one's files go.
      targets_[last_] = targets;
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
  const auto found = targets_.find(id);
  if (found == targets_.end()) return;
  const Targets& targets = found->second;
  if (action == QStringLiteral("default") && !targets.shows.empty()) {
    ShowFile(targets.shows);
  } else if (!targets.edits.empty() && action == QStringLiteral("annotate")) {
    // Detached: the editor lives on its own, and nothing here waits for it or reaps it.
    StartProcessWords(EditorProgram(), {targets.edits}, "", 0);
  } else if (!targets.edits.empty() && action == QStringLiteral("pin")) {
    StartProcessWords(EditorProgram(), {"--pin", targets.edits}, "", 0);
  }
}

void DBusNotifier::OnClosed(uint id, uint) {
  targets_.erase(id);
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
