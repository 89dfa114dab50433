// A GlobalShortcuts portal of our own for the tests, on the portal's bus name. It writes one line
// per call to the file named by its argument, fields separated by tabs:
//   create SESSION | bind SESSION ID TRIGGER DESCRIPTION (one line a shortcut) | close SESSION
// and a test presses a bound shortcut with the method Press(id) of vantorshot.test.Shortcuts at
// /vantorshot/test, which sends Activated for the newest open session.

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QFile>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include <cstdio>
#include <memory>
#include <vector>

// One shortcut as BindShortcuts takes it, (sa{sv}).
struct Shortcut {
  QString id;
  QVariantMap properties;
};
Q_DECLARE_METATYPE(Shortcut)

QDBusArgument& operator<<(QDBusArgument& argument, const Shortcut& shortcut) {
  argument.beginStructure();
  argument << shortcut.id << shortcut.properties;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Shortcut& shortcut) {
  argument.beginStructure();
  argument >> shortcut.id >> shortcut.properties;
  argument.endStructure();
  return argument;
}

namespace {

const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

QString Sender(const QString& service) {
  QString sender = service.mid(1);
  return sender.replace(QLatin1Char('.'), QLatin1Char('_'));
}

}  // namespace

class Portal;

class Session : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Session")

 public:
  Session(Portal& portal, QString path, QString owner)
      : portal_(portal), path(std::move(path)), owner(std::move(owner)) {}
  Portal& portal_;
  QString path;
  QString owner;
  bool open = true;

 public slots:
  void Close();
};

class Portal : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
  Q_PROPERTY(uint version READ version)

 public:
  explicit Portal(QString record) : record_(std::move(record)) {}
  uint version() const { return 1; }

  void Record(const QStringList& fields) {
    QFile file(record_);
    file.open(QIODevice::Append);
    file.write(fields.join(QLatin1Char('\t')).toUtf8() + "\n");
  }

  void Press(const QString& id) {
    for (auto it = sessions_.rbegin(); it != sessions_.rend(); ++it) {
      if (!(*it)->open) continue;
      QDBusMessage activated = QDBusMessage::createTargetedSignal(
          (*it)->owner, PortalPath, QStringLiteral("org.freedesktop.portal.GlobalShortcuts"),
          QStringLiteral("Activated"));
      activated << QVariant::fromValue(QDBusObjectPath((*it)->path)) << id
                << QVariant::fromValue(qulonglong(0)) << QVariantMap();
      QDBusConnection::sessionBus().send(activated);
      return;
    }
  }

 public slots:
  QDBusObjectPath CreateSession(const QVariantMap& options) {
    const QString owner = message().service();
    const QString path = PortalPath + QStringLiteral("/session/") + Sender(owner) + '/' +
                         options.value(QStringLiteral("session_handle_token")).toString();
    sessions_.push_back(std::make_unique<Session>(*this, path, owner));
    QDBusConnection::sessionBus().registerObject(path, sessions_.back().get(),
                                                 QDBusConnection::ExportAllSlots);
    Record({QStringLiteral("create"), path});
    return Respond(options, {{QStringLiteral("session_handle"), path}});
  }

  QDBusObjectPath BindShortcuts(const QDBusObjectPath& session, const QList<Shortcut>& shortcuts,
                                const QString&, const QVariantMap& options) {
    for (const Shortcut& shortcut : shortcuts) {
      Record({QStringLiteral("bind"), session.path(), shortcut.id,
              shortcut.properties.value(QStringLiteral("preferred_trigger")).toString(),
              shortcut.properties.value(QStringLiteral("description")).toString()});
    }
    return Respond(options, {});
  }

 private:
  // The answer goes to the caller's request object, after the call has returned its path.
  QDBusObjectPath Respond(const QVariantMap& options, const QVariantMap& results) {
    const QString owner = message().service();
    const QString request = PortalPath + QStringLiteral("/request/") + Sender(owner) + '/' +
                            options.value(QStringLiteral("handle_token")).toString();
    QTimer::singleShot(0, this, [owner, request, results] {
      QDBusMessage response = QDBusMessage::createTargetedSignal(
          owner, request, QStringLiteral("org.freedesktop.portal.Request"),
          QStringLiteral("Response"));
      response << 0u << results;
      QDBusConnection::sessionBus().send(response);
    });
    return QDBusObjectPath(request);
  }

  QString record_;
  std::vector<std::unique_ptr<Session>> sessions_;
};

void Session::Close() {
  open = false;
  portal_.Record({QStringLiteral("close"), path});
  QDBusConnection::sessionBus().unregisterObject(path);
}

class TestHook : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "vantorshot.test.Shortcuts")

 public:
  explicit TestHook(Portal& portal) : portal_(portal) {}

 public slots:
  void Press(const QString& id) { portal_.Press(id); }

 private:
  Portal& portal_;
};

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  if (argc != 2) return 2;
  qDBusRegisterMetaType<Shortcut>();
  qDBusRegisterMetaType<QList<Shortcut>>();
  Portal portal(QString::fromLocal8Bit(argv[1]));
  TestHook hook(portal);
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.registerObject(PortalPath, &portal,
                          QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties) ||
      !bus.registerObject(QStringLiteral("/vantorshot/test"), &hook,
                          QDBusConnection::ExportAllSlots) ||
      !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))) {
    std::fputs("global_shortcuts_portal: cannot take the portal's name\n", stderr);
    return 1;
  }
  return application.exec();
}

#include "global_shortcuts_portal.moc"
