// A notification service of our own for the tests: it takes the bus name of the desktop's
// service and writes one line per notification to the file named by its argument:
//   id <TAB> replaces <TAB> summary <TAB> body <TAB> actions <TAB> picture (WxH or -)

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QFile>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <cstdio>

class NotificationService : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

 public:
  explicit NotificationService(QString record) : record_(std::move(record)) {}

 public slots:
  QStringList GetCapabilities() { return {"actions", "body", "icon-static"}; }
  uint Notify(const QString&, uint replaces, const QString&, const QString& summary,
              const QString& body, const QStringList& actions, const QVariantMap& hints, int) {
    QString picture = "-";
    if (hints.contains("image-data")) {
      const QDBusArgument image = hints.value("image-data").value<QDBusArgument>();
      int width = 0, height = 0;
      image.beginStructure();
      image >> width >> height;
      picture = QString("%1x%2").arg(width).arg(height);
    }
    QFile file(record_);
    file.open(QIODevice::Append);
    file.write(QStringList{QString::number(++last_), QString::number(replaces), summary, body,
                           actions.join(','), picture}
                   .join('\t')
                   .toUtf8() +
               "\n");
    return last_;
  }
  void CloseNotification(uint) {}
  QString GetServerInformation(QString& vendor, QString& version, QString& spec) {
    vendor = "tests";
    version = "1";
    spec = "1.2";
    return "recorder";
  }

 private:
  QString record_;
  uint last_ = 0;
};

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  if (argc != 2) return 2;
  NotificationService service(argv[1]);
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.registerObject("/org/freedesktop/Notifications", &service,
                          QDBusConnection::ExportAllSlots) ||
      !bus.registerService("org.freedesktop.Notifications")) {
    std::fputs("notification_server: cannot take the service's name\n", stderr);
    return 1;
  }
  return application.exec();
}

#include "notification_server.moc"
