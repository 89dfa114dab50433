#include "portal_screenshot.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QEventLoop>
#include <QFile>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <QUrl>
#include <QVariantMap>

#include <functional>
#include <optional>

#include "quit_requests.h"

namespace {

const QString Portal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString Screenshot = QStringLiteral("org.freedesktop.portal.Screenshot");
const QString Request = QStringLiteral("org.freedesktop.portal.Request");

// A picture taken without asking comes in well under a second, and every portal hands over the
// request at once (a picker works after that). Compressing a picture of a large desktop takes
// the portal seconds on a busy machine, though.
constexpr int AnswerWithinMs = 10000;
// How long a withdrawn request may take to be closed.
constexpr int ClosedWithinMs = 1000;

constexpr char NoAnswer[] = "the screenshot portal did not answer";

// Receives the Response signal of the request object.
class ResponseCatcher : public QObject {
  Q_OBJECT

 public:
  explicit ResponseCatcher(QEventLoop& loop) : loop_(loop) {}
  bool answered = false;
  uint response = 2;
  QVariantMap results;

  // The portal's picture, where the answer brought one.
  QString file() const {
    const QUrl uri(results.value(QStringLiteral("uri")).toString());
    return answered && response == 0 && uri.isLocalFile() ? uri.toLocalFile() : QString();
  }

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
  return {result, {}, std::move(problem), 0};
}

// Runs `loop` until `done`, a quit request (returned) or the end of `deadline`, if there is one.
int RunUntil(QEventLoop& loop, const QTimer* deadline, QuitRequests& quits,
             const std::function<bool()>& done) {
  int signal = 0;
  while (!done() && (deadline == nullptr || deadline->isActive()) && (signal = quits.take()) == 0) {
    loop.exec();
  }
  return signal;
}

// Closes a request that is given up, so that the portal takes no picture for it later. An
// answer the portal sent before it saw the close comes before the close's reply: its picture is
// removed. Gives `answer`.
PortalAnswer Withdraw(QDBusConnection& bus, const QString& request, QEventLoop& loop,
                      const ResponseCatcher& catcher, QuitRequests& quits, PortalAnswer answer) {
  QDBusMessage close =
      QDBusMessage::createMethodCall(Portal, request, Request, QStringLiteral("Close"));
  QDBusPendingCallWatcher closed(bus.asyncCall(close, ClosedWithinMs));
  QObject::connect(&closed, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
  RunUntil(loop, nullptr, quits, [&closed] { return closed.isFinished(); });
  if (const QString file = catcher.file(); !file.isEmpty()) QFile::remove(file);
  return answer;
}

PortalAnswer Stopped(int signal) {
  PortalAnswer answer = Answer(PortalAnswer::Result::Stopped, {});
  answer.signal = signal;
  return answer;
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
  QString request = PortalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
  QEventLoop loop;
  ResponseCatcher catcher(loop);
  bus.connect(Portal, request, Request, QStringLiteral("Response"), &catcher,
              SLOT(OnResponse(uint, QVariantMap)));

  QuitRequests quits;
  std::optional<QSocketNotifier> quitNotifier;
  if (quits.descriptor() >= 0) {
    quitNotifier.emplace(quits.descriptor(), QSocketNotifier::Read);
    QObject::connect(&*quitNotifier, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
  }
  QTimer deadline;
  deadline.setSingleShot(true);
  QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
  deadline.start(AnswerWithinMs);

  QDBusMessage call =
      QDBusMessage::createMethodCall(Portal, PortalPath, Screenshot, QStringLiteral("Screenshot"));
  call << QString()
       << QVariantMap{{QStringLiteral("handle_token"), token},
                      {QStringLiteral("modal"), true},
                      {QStringLiteral("interactive"), interactive}};
  QDBusPendingCallWatcher handed(bus.asyncCall(call, AnswerWithinMs));
  QObject::connect(&handed, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
  int signal = RunUntil(loop, &deadline, quits, [&handed] { return handed.isFinished(); });
  if (signal != 0) return Withdraw(bus, request, loop, catcher, quits, Stopped(signal));
  const QDBusMessage reply = handed.reply();
  if (!handed.isFinished() ||
      reply.errorName() == QStringLiteral("org.freedesktop.DBus.Error.NoReply")) {
    return Withdraw(bus, request, loop, catcher, quits,
                    Answer(PortalAnswer::Result::Refused, NoAnswer));
  }
  if (reply.type() != QDBusMessage::ReplyMessage) {
    return Answer(PortalAnswer::Result::Unavailable,
                  "this desktop offers no screenshot portal (org.freedesktop.portal.Screenshot: " +
                      reply.errorMessage().toStdString() + ")");
  }
  const QDBusObjectPath handle = QDBusPendingReply<QDBusObjectPath>(handed).value();
  if (!handle.path().isEmpty()) request = handle.path();

  // The user picks for as long as it takes.
  signal = RunUntil(loop, interactive ? nullptr : &deadline, quits,
                    [&catcher] { return catcher.answered; });
  if (signal != 0) return Withdraw(bus, request, loop, catcher, quits, Stopped(signal));
  if (!catcher.answered) {
    return Withdraw(bus, request, loop, catcher, quits,
                    Answer(PortalAnswer::Result::Refused, NoAnswer));
  }
  if (catcher.response == 1) return Answer(PortalAnswer::Result::Cancelled, {});
  if (catcher.response != 0) {
    return Answer(PortalAnswer::Result::Refused,
                  interactive ? "the desktop's screenshot portal refused to let you pick (it "
                                "offers no window or selection picker here)"
                              : "the desktop's screenshot portal failed to take the screen");
  }
  const QString file = catcher.file();
  if (file.isEmpty()) {
    return Answer(PortalAnswer::Result::Refused,
                  "the desktop's screenshot portal gave no file: " +
                      catcher.results.value(QStringLiteral("uri")).toString().toStdString());
  }
  // A quit request that came with the answer: the picture is not wanted.
  if (const int late = quits.finish(); late != 0) {
    QFile::remove(file);
    return Stopped(late);
  }
  return {PortalAnswer::Result::Taken, file.toStdString(), {}, 0};
}

#include "portal_screenshot.moc"
