#include "platform/qt/desktop_platform.h"

#include <xcb/xcb.h>

#include <QApplication>
#include <QPixmapCache>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/command_server.h"
#include "platform/qt/dbus_notifier.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/qt_requesters.h"
#include "platform/qt/qt_toolkit.h"
#include "platform/qt/wayland_hotkey_service.h"
#include "platform/qt/x11_hotkey_service.h"
#include "platform/single_instance.h"
#include "platform/termination_request.h"
#include "platform/toolkit.h"

namespace {

// Qt gives up on the whole process when its X connection fails: try one first.
bool DisplayOpens() {
  int screen = 0;
  xcb_connection_t* connection = xcb_connect(nullptr, &screen);
  const bool opens = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return opens;
}

// The same for the Wayland display: its socket, named by WAYLAND_DISPLAY (a path, or a name in
// XDG_RUNTIME_DIR), takes a connection.
bool WaylandDisplayOpens() {
  const char* name = std::getenv("WAYLAND_DISPLAY");
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (name == nullptr || name[0] == '\0') return false;
  std::string path = name;
  if (path[0] != '/') {
    if (runtime == nullptr || runtime[0] == '\0') return false;
    path = std::string(runtime) + "/" + path;
  }
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  path.copy(address.sun_path, path.size());
  const UniqueFd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  return socket.Valid() &&
         ::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

// The platform Qt is to use, chosen once: the user's choice when made; else X11 wherever an X
// display opens (Xwayland included), else Wayland where only a Wayland display is there. With
// neither, X11, which start-up then reports as missing.
std::string ChoosePlatform() {
  const char* chosen = std::getenv("QT_QPA_PLATFORM");
  if (chosen != nullptr && chosen[0] != '\0') return chosen;
  const std::string platform = !DisplayOpens() && WaylandDisplayOpens() ? "wayland" : "xcb";
  setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
  return platform;
}

void PostQuit() {
  QueueEvent(MenuEvent, QuitMenuNumber, ApplicationMenuWindow, 0, PostCustom);
}

}  // namespace

struct DesktopPlatform::Parts {
  std::optional<SingleInstanceLock> lock;
  std::unique_ptr<QApplication> application;
  std::unique_ptr<QtToolkit> toolkit;
  std::unique_ptr<Requesters> requesters;
  std::unique_ptr<HotkeyService> hotkeys;
  std::unique_ptr<QtHost> host;
  std::unique_ptr<DBusNotifier> notifier;
  std::unique_ptr<QSocketNotifier> termination;
  bool listening = false;
  bool listenFailed = false;
  std::unique_ptr<QSocketNotifier> commandNotifier;
};

DesktopPlatform::DesktopPlatform(int& argc, char** argv, Role role)
    : parts_(std::make_unique<Parts>()) {
  Parts& p = *parts_;
  const std::string platform = ChoosePlatform();
  const bool x11 = platform.starts_with("xcb");
  const bool wayland = platform.starts_with("wayland");
  if (x11 && !DisplayOpens()) {
    p.requesters = std::make_unique<ConsoleRequesters>();
    p.hotkeys = std::make_unique<X11HotkeyService>();
    p.host = std::make_unique<QtHost>(false);
    InstallRequesters(p.requesters.get());
    InstallHotkeyService(p.hotkeys.get());
    InstallHost(p.host.get());
    return;
  }
  if (role == Role::Resident && (x11 || wayland)) {
    p.lock.emplace();
    if (p.lock->Status() == SingleInstanceLock::State::Unavailable) {
      // Running unguarded could start a second copy beside the first: better none.
      std::fprintf(stderr,
                   "vantorshot: cannot take the lock that keeps one copy per display (%s)\n",
                   p.lock->Where().c_str());
    }
    if (p.lock->Status() != SingleInstanceLock::State::Held) return;
  }

  p.application = std::make_unique<QApplication>(argc, argv);
  // Qt's pixmap cache trims itself on a timer that wakes an idle program; the few icons are
  // kept by the toolkit anyway.
  QPixmapCache::setCacheLimit(0);
  p.toolkit = std::make_unique<QtToolkit>();
  // Platforms that show nothing (offscreen) would wait forever on an alert nobody sees.
  if (platform.starts_with("offscreen") || platform.starts_with("minimal")) {
    p.requesters = std::make_unique<ConsoleRequesters>();
  } else {
    p.requesters = std::make_unique<QtRequesters>();
  }
  if (wayland) {
    p.hotkeys = std::make_unique<WaylandHotkeyService>();
  } else {
    p.hotkeys = std::make_unique<X11HotkeyService>();
  }
  p.host = std::make_unique<QtHost>(true);
  InstallNativeToolkit(p.toolkit.get());
  InstallRequesters(p.requesters.get());
  InstallHotkeyService(p.hotkeys.get());
  InstallHost(p.host.get());
  p.notifier = std::make_unique<DBusNotifier>();
  InstallNotifier(p.notifier.get());

  const int signalFd = WatchTerminationRequests();
  if (signalFd >= 0) {
    p.termination = std::make_unique<QSocketNotifier>(signalFd, QSocketNotifier::Read);
    QObject::connect(p.termination.get(), &QSocketNotifier::activated,
                     [] { TakeTerminationRequest(); });
  }
  // Other copies of the program hand their commands to this one. A copy that cannot be
  // reached would leave every command line silently unanswered: it does not run.
  std::string why;
  if (p.lock) {
    p.listening = StartCommandServer(p.lock->SocketPath(), why);
    p.listenFailed = !p.listening;
  }
  if (p.listenFailed) {
    std::fprintf(stderr, "vantorshot: cannot listen for commands at %s (%s)\n",
                 p.lock->SocketPath().c_str(), why.c_str());
  }
  if (p.listening) {
    p.commandNotifier =
        std::make_unique<QSocketNotifier>(CommandServerDescriptor(), QSocketNotifier::Read);
    QObject::connect(p.commandNotifier.get(), &QSocketNotifier::activated, [] { ServeCommands(); });
  }
  // The end of the session runs the ordinary quit.
  QObject::connect(p.application.get(), &QGuiApplication::commitDataRequest, [] { PostQuit(); });
}

DesktopPlatform::~DesktopPlatform() {
  Parts& p = *parts_;
  p.commandNotifier.reset();
  if (p.listening) StopCommandServer();
  if (p.termination) {
    p.termination.reset();
    StopWatchingTerminationRequests();
  }
  InstallNotifier(nullptr);
  InstallHost(nullptr);
  InstallHotkeyService(nullptr);
  InstallRequesters(nullptr);
  if (p.toolkit) InstallNativeToolkit(nullptr);
  p.notifier.reset();
  p.host.reset();
  p.hotkeys.reset();
  p.requesters.reset();
  p.toolkit.reset();
  p.application.reset();
}

DesktopPlatform::Start DesktopPlatform::HowToStart() const {
  if (!parts_->lock) return Start::Run;
  if (parts_->listenFailed) return Start::Refused;
  switch (parts_->lock->Status()) {
    case SingleInstanceLock::State::Held: return Start::Run;
    case SingleInstanceLock::State::HeldElsewhere: return Start::AlreadyRunning;
    case SingleInstanceLock::State::Unavailable: return Start::Refused;
  }
  return Start::Refused;
}
