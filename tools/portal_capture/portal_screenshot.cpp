#include "portal_screenshot.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <QUrl>
#include <QVariantMap>

namespace {

const QString Portal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString Screenshot = QStringLiteral("org.freedesktop.portal.Screenshot");

// A picture taken without asking comes in well under a second; one the user picks takes as long
// as the user does.
constexpr int TakenWithinMs = 30000;

// Receives the Response signal of the request object.
class ResponseCatcher : public QObject {
  Q_OBJECT

 public:
  explicit ResponseCatcher(QEventLoop& loop) : loop_(loop) {}
  bool answered = false;
  uint response = 2;
  QVariantMap results;

 public slots:
  void OnResponse(uint code, const QVariantMap& values) {
    answered = true;
    response = code;
    results = values;
    loop_.quit();
  }

 private:
  QEventLoop& loop_;
};

PortalAnswer Answer(PortalAnswer::Result result, std::string problem) {
  return {result, {}, std::move(problem)};
}

}  // namespace

PortalAnswer TakePortalScreenshot(bool interactive) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    return Answer(PortalAnswer::Result::Unavailable,
                  "no session bus, so no screenshot portal (DBUS_SESSION_BUS_ADDRESS)");
  }
  // The answer goes only to the request object named after this connection and the token, and
  // may come at once: it is listened for before the call.
  const QString token = QStringLiteral("vantorshot%1").arg(QCoreApplication::applicationPid());
  QString sender = bus.baseService().mid(1);
  sender.replace(QLatin1Char('.'), QLatin1Char('_'));
  const QString request =
      PortalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
  QEventLoop loop;
  ResponseCatcher catcher(loop);
  bus.connect(Portal, request, QStringLiteral("org.freedesktop.portal.Request"),
              QStringLiteral("Response"), &catcher, SLOT(OnResponse(uint, QVariantMap)));

  QDBusMessage call =
      QDBusMessage::createMethodCall(Portal, PortalPath, Screenshot, QStringLiteral("Screenshot"));
  call << QString()
       << QVariantMap{{QStringLiteral("handle_token"), token},
                      {QStringLiteral("modal"), true},
                      {QStringLiteral("interactive"), interactive}};
  const QDBusMessage reply = bus.call(call, QDBus::Block, TakenWithinMs);
  if (reply.type() != QDBusMessage::ReplyMessage) {
    return Answer(PortalAnswer::Result::Unavailable,
                  "this desktop offers no screenshot portal (org.freedesktop.portal.Screenshot: " +
                      reply.errorMessage().toStdString() + ")");
  }
  if (!catcher.answered && !interactive)
    QTimer::singleShot(TakenWithinMs, &loop, &QEventLoop::quit);
  if (!catcher.answered) loop.exec();
  if (!catcher.answered) {
    return Answer(PortalAnswer::Result::Refused, "the desktop's screenshot portal did not answer");
  }
  if (catcher.response == 1) return Answer(PortalAnswer::Result::Cancelled, {});
  if (catcher.response != 0) {
    return Answer(PortalAnswer::Result::Refused,
                  interactive ? "the desktop's screenshot portal refused to let you pick (it "
                                "offers no window or selection picker here)"
                              : "the desktop's screenshot portal failed to take the screen");
  }
  const QUrl uri(catcher.results.value(QStringLiteral("uri")).toString());
  if (!uri.isLocalFile()) {
    return Answer(PortalAnswer::Result::Refused,
                  "the desktop's screenshot portal gave no file: " + uri.toString().toStdString());
  }
  return {PortalAnswer::Result::Taken, uri.toLocalFile().toStdString(), {}};
}

#include "portal_screenshot.moc"
