#include "platform/qt/wayland_hotkey_service.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QTimer>

#include <algorithm>
#include <cstdio>

#include "platform/qt/shortcut_trigger.h"

// One shortcut as BindShortcuts takes it: an id and its properties, (sa{sv}).
struct PortalShortcut {
  QString id;
  QVariantMap properties;
};
Q_DECLARE_METATYPE(PortalShortcut)

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut) {
  argument.beginStructure();
  argument << shortcut.id << shortcut.properties;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut) {
  argument.beginStructure();
  argument >> shortcut.id >> shortcut.properties;
  argument.endStructure();
  return argument;
}

namespace {

const QString Portal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString Shortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");

// The portal answers at once whether it exists; one that hangs is given up on.
constexpr int CallTimeoutMs = 3000;

// A stable id for the desktop's list of the program's keys: "capture-selection".
QString IdOf(std::string_view purpose, HotkeyId hotkey) {
  if (purpose.empty()) return QStringLiteral("hotkey-%1").arg(hotkey.id);
  return QString::fromUtf8(purpose.data(), static_cast<qsizetype>(purpose.size()))
      .toLower()
      .replace(QLatin1Char(' '), QLatin1Char('-'));
}

bool SameHotkey(HotkeyId a, HotkeyId b) {
  return a.signature == b.signature && a.id == b.id;
}

QString SessionHandle(const QVariant& value) {
  if (value.canConvert<QDBusObjectPath>()) return value.value<QDBusObjectPath>().path();
  return value.toString();
}

}  // namespace

WaylandHotkeyService::WaylandHotkeyService() : bus_(QDBusConnection::sessionBus()) {
  qDBusRegisterMetaType<PortalShortcut>();
  qDBusRegisterMetaType<QList<PortalShortcut>>();
  if (!bus_.isConnected()) return;
  QDBusMessage ask = QDBusMessage::createMethodCall(
      Portal, PortalPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
  ask << Shortcuts << QStringLiteral("version");
  offered_ = bus_.call(ask, QDBus::Block, CallTimeoutMs).type() == QDBusMessage::ReplyMessage;
  if (offered_) {
    bus_.connect(Portal, PortalPath, Shortcuts, QStringLiteral("Activated"), this,
                 SLOT(OnActivated(QDBusMessage)));
  }
}

WaylandHotkeyService::~WaylandHotkeyService() {
  CloseSession();
}

bool WaylandHotkeyService::InstallHandler(HotkeyPressedFunction handler) {
  if (handler == nullptr) return false;
  handler_ = handler;
  return true;
}

bool WaylandHotkeyService::RegisterKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                       HotkeyId hotkey, std::string_view purpose) {
  if (!offered_ || handler_ == nullptr || keyCode > 0xFFFF) return false;
  const std::string trigger = ShortcutTrigger(static_cast<std::uint16_t>(keyCode), modifiers);
  if (trigger.empty()) return false;
  const QString id = IdOf(purpose, hotkey);
  const QString text = QString::fromStdString(trigger);
  // The desktop decides which keys it hands out: only a key bound twice here is refused.
  for (const Key& key : keys_) {
    if (key.id == id || key.trigger == text) return false;
  }
  keys_.push_back({hotkey, id,
                   QString::fromUtf8(purpose.data(), static_cast<qsizetype>(purpose.size())),
                   text});
  ScheduleBinding();
  return true;
}

bool WaylandHotkeyService::UnregisterKey(HotkeyId hotkey) {
  auto it = std::find_if(keys_.begin(), keys_.end(),
                         [hotkey](const Key& key) { return SameHotkey(key.hotkey, hotkey); });
  if (it == keys_.end()) return false;
  keys_.erase(it);
  ScheduleBinding();
  return true;
}

void WaylandHotkeyService::ScheduleBinding() {
  if (step_ != Step::Idle) {
    again_ = true;
    return;
  }
  // Changes come in bursts (the Preferences window re-registers all four): one binding each.
  if (scheduled_) return;
  scheduled_ = true;
  QTimer::singleShot(0, this, [this] {
    scheduled_ = false;
    Bind();
  });
}

void WaylandHotkeyService::CloseSession() {
  if (session_.isEmpty()) return;
  bus_.call(QDBusMessage::createMethodCall(Portal, session_,
                                           QStringLiteral("org.freedesktop.portal.Session"),
                                           QStringLiteral("Close")),
            QDBus::NoBlock);
  session_.clear();
}

void WaylandHotkeyService::Bind() {
  again_ = false;
  // A session's keys are bound once: new keys take a new session, which ends the old bindings.
  CloseSession();
  if (keys_.empty()) return;
  step_ = Step::Creating;
  Request(
      QStringLiteral("CreateSession"), {},
      {{QStringLiteral("session_handle_token"), QStringLiteral("vantorshot%1").arg(++tokens_)}});
}

void WaylandHotkeyService::Request(const QString& method, QVariantList arguments,
                                   QVariantMap options) {
  const QString token = QStringLiteral("vantorshot%1").arg(++tokens_);
  options.insert(QStringLiteral("handle_token"), token);
  // The answer goes to the request object named after this connection and the token; it is
  // listened for before the call, or it could come first.
  QString sender = bus_.baseService().mid(1);
  sender.replace(QLatin1Char('.'), QLatin1Char('_'));
  request_ = PortalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
  bus_.connect(Portal, request_, RequestInterface, QStringLiteral("Response"), this,
               SLOT(OnResponse(uint, QVariantMap)));
  QDBusMessage call = QDBusMessage::createMethodCall(Portal, PortalPath, Shortcuts, method);
  arguments << options;
  call.setArguments(arguments);
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, CallTimeoutMs), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
    w->deleteLater();
    if (!w->isError()) return;
    const std::string why = "the desktop's shortcut portal did not take the keys: " +
                            w->error().message().toStdString();
    Settle(why.c_str());
  });
}

void WaylandHotkeyService::OnResponse(uint response, const QVariantMap& results) {
  if (step_ == Step::Idle) return;
  if (response != 0) return Settle("the desktop refused the program's keys");
  if (step_ == Step::Binding) return Settle(nullptr);
  session_ = SessionHandle(results.value(QStringLiteral("session_handle")));
  if (session_.isEmpty()) return Settle("the desktop's shortcut portal gave no session");
  QList<PortalShortcut> shortcuts;
  for (const Key& key : keys_) {
    shortcuts.push_back({key.id,
                         {{QStringLiteral("description"), key.description},
                          {QStringLiteral("preferred_trigger"), key.trigger}}});
  }
  bus_.disconnect(Portal, request_, RequestInterface, QStringLiteral("Response"), this,
                  SLOT(OnResponse(uint, QVariantMap)));
  step_ = Step::Binding;
  Request(
      QStringLiteral("BindShortcuts"),
      {QVariant::fromValue(QDBusObjectPath(session_)), QVariant::fromValue(shortcuts), QString()},
      {});
}

void WaylandHotkeyService::Settle(const char* problem) {
  bus_.disconnect(Portal, request_, RequestInterface, QStringLiteral("Response"), this,
                  SLOT(OnResponse(uint, QVariantMap)));
  step_ = Step::Idle;
  if (problem != nullptr) std::fprintf(stderr, "vantorshot: %s\n", problem);
  if (again_) ScheduleBinding();
}

void WaylandHotkeyService::OnActivated(const QDBusMessage& signal) {
  // Activated(o session_handle, s shortcut_id, t timestamp, a{sv} options)
  const QVariantList arguments = signal.arguments();
  const QString session = arguments.value(0).value<QDBusObjectPath>().path();
  const QString shortcut = arguments.value(1).toString();
  if (session != session_ || handler_ == nullptr) return;
  for (const Key& key : keys_) {
    if (key.id == shortcut) return handler_(key.hotkey);
  }
}
