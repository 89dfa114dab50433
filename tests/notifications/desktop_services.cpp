// Recording stand-ins for the desktop's notification service and GlobalShortcuts and Screenshot
// portals, under one bus name:  desktop_services RECORD [NAME [mute]]  (the notification
// service's by default). Each call is a line of RECORD, its fields separated by tabs:
//   Notify ID REPLACES SUMMARY BODY ACTIONS PICTURE(WxH or -)
//   CreateSession SESSION | BindShortcuts SESSION ID TRIGGER DESCRIPTION (a line a shortcut) |
//   Close SESSION-OR-REQUEST | Screenshot INTERACTIVE(true or false)
// A test presses a bound shortcut with the method Press(ID): Activated goes to the newest session.
// Screenshot never answers (with "mute" not even the call); a closed request gets a picture at
// RECORD.picture, as from a portal whose answer crossed the close.
// Invoke(ID, ACTION) is a click on a notification's action (ActionInvoked to every listener);
// Capabilities(LIST) sets what GetCapabilities answers from then on.

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QFile>

#include <cstdio>

namespace {

const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

class Services : public QDBusVirtualObject {
 public:
  Services(QString record, bool mute) : record_(std::move(record)), mute_(mute) {}
  QString introspect(const QString&) const override { return {}; }

  bool handleMessage(const QDBusMessage& call, const QDBusConnection& bus) override {
    const QVariantList in = call.arguments();
    const QString member = call.member();
    // The portal's requests: the caller's request and session objects are named after it.
    const QString caller = call.service().mid(1).replace('.', '_');
    const QVariantMap options = qdbus_cast<QVariantMap>(in.value(in.size() - 1));
    QVariantList out;
    if (member == "GetCapabilities") {
      out << capabilities_;
    } else if (member == "Capabilities") {
      capabilities_ = in.value(0).toStringList();
    } else if (member == "Invoke") {
      QDBusMessage invoked = QDBusMessage::createSignal(
          "/org/freedesktop/Notifications", "org.freedesktop.Notifications", "ActionInvoked");
      invoked << in.value(0) << in.value(1);
      bus.send(invoked);
    } else if (member == "Notify") {
      const QVariantMap hints = qdbus_cast<QVariantMap>(in.value(6));
      QString picture = "-";
      if (hints.contains("image-data")) {
        const QDBusArgument image = hints.value("image-data").value<QDBusArgument>();
        int width = 0, height = 0;
        image.beginStructure();
        image >> width >> height;
        picture = QString("%1x%2").arg(width).arg(height);
      }
      out << ++notifications_;
      Record({member, QString::number(notifications_), in.value(1).toString(),
              in.value(3).toString(), in.value(4).toString(), in.value(5).toStringList().join(','),
              picture});
    } else if (member == "Get") {
      out << QVariant::fromValue(QDBusVariant(1u));  // the portal's version
    } else if (member == "CreateSession") {
      session_ = PortalPath + "/session/" + caller + '/' +
                 options.value("session_handle_token").toString();
      owner_ = call.service();
      Record({member, session_});
    } else if (member == "BindShortcuts") {
      const QDBusArgument list = in.value(1).value<QDBusArgument>();
      list.beginArray();
      while (!list.atEnd()) {
        QString id;
        QVariantMap properties;
        list.beginStructure();
        list >> id >> properties;
        list.endStructure();
        Record({member, in.value(0).value<QDBusObjectPath>().path(), id,
                properties.value("preferred_trigger").toString(),
                properties.value("description").toString()});
      }
    } else if (member == "Screenshot") {
      Record({member, options.value("interactive").toBool() ? "true" : "false"});
      if (mute_) return true;
      screenshot_ =
          PortalPath + "/request/" + caller + '/' + options.value("handle_token").toString();
      return bus.send(call.createReply(QVariant::fromValue(QDBusObjectPath(screenshot_))));
    } else if (member == "Close") {
      Record({member, call.path()});
      QFile picture(record_ + ".picture");
      if (call.path() == screenshot_ && picture.open(QIODevice::WriteOnly)) {
        picture.write("a picture");
        QDBusMessage response = QDBusMessage::createTargetedSignal(
            call.service(), screenshot_, "org.freedesktop.portal.Request", "Response");
        bus.send(response << 0u << QVariantMap{{"uri", "file://" + picture.fileName()}});
      }
    } else if (member == "Press") {
      QDBusMessage activated = QDBusMessage::createTargetedSignal(
          owner_, PortalPath, "org.freedesktop.portal.GlobalShortcuts", "Activated");
      activated << QVariant::fromValue(QDBusObjectPath(session_)) << in.value(0)
                << QVariant::fromValue(qulonglong(0)) << QVariantMap();
      bus.send(activated);
    } else {
      return false;
    }
    if (member != "CreateSession" && member != "BindShortcuts") {
      return bus.send(call.createReply(out));
    }
    // A request's answer comes on its own object, after the call has returned the object's path.
    const QString request =
        PortalPath + "/request/" + caller + '/' + options.value("handle_token").toString();
    bus.send(call.createReply(QVariant::fromValue(QDBusObjectPath(request))));
    QDBusMessage response = QDBusMessage::createTargetedSignal(
        call.service(), request, "org.freedesktop.portal.Request", "Response");
    response << 0u
             << (member == "CreateSession" ? QVariantMap{{"session_handle", session_}}
                                           : QVariantMap{});
    return bus.send(response);
  }

 private:
  void Record(const QStringList& fields) {
    QFile file(record_);
    if (file.open(QIODevice::Append)) file.write(fields.join('\t').toUtf8() + "\n");
  }

  QString record_;
  bool mute_;
  uint notifications_ = 0;
  QString screenshot_;  // the newest screenshot request
  QStringList capabilities_{"actions", "body", "icon-static"};
  QString owner_, session_;  // of the newest session
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  if (argc < 2) return 2;
  Services services(QString::fromLocal8Bit(argv[1]), argc > 3 && QByteArray(argv[3]) == "mute");
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.registerVirtualObject("/", &services, QDBusConnection::SubPath) ||
      !bus.registerService(argc > 2 ? argv[2] : "org.freedesktop.Notifications")) {
    std::fputs("desktop_services: cannot take the service's name\n", stderr);
    return 1;
  }
  return application.exec();
}
