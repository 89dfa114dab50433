#include "platform/qt/qt_toolkit.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QFontDatabase>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>

#include "platform/qt/dark_appearance.h"
#include "platform/qt/held_keys.h"
#include "platform/qt/qt_key_press.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_window.h"
#include "platform/qt/status_notifier_wait.h"
#include "platform/termination_request.h"

namespace {

ToolkitWindow* AsWindow(NativeHandle handle) {
  return static_cast<ToolkitWindow*>(handle);
}
QPixmap* AsImage(NativeHandle handle) {
  return static_cast<QPixmap*>(handle);
}

template <typename T>
void EraseOwned(std::vector<std::unique_ptr<T>>& owned, const void* object) {
  std::erase_if(owned, [object](const auto& o) { return o.get() == object; });
}

}  // namespace

QtToolkit::QtToolkit() {
  qApp->installEventFilter(this);
}

QtToolkit::~QtToolkit() {
  qApp->removeEventFilter(this);
  RemoveStatusItem();
  // Windows the application left open go with the toolkit that made them.
  // (Collected first: deleting one also deletes the pop-ups it owns.)
  std::vector<ToolkitWindow*> windows;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (auto* window = dynamic_cast<ToolkitWindow*>(top)) windows.push_back(window);
  }
  for (ToolkitWindow* window : windows) delete window;
}

// Windows.

NativeHandle QtToolkit::CreateWindow(std::int64_t number, const WindowSpec& spec) {
  auto* window = new ToolkitWindow(number, spec.flags);
  window->setWindowTitle(QtText(spec.title));
  QRect frame(spec.x, spec.y, spec.width, spec.height);
  if ((spec.flags & WindowCentred) != 0) {
    if (const QScreen* main = QGuiApplication::primaryScreen()) {
      frame.moveCenter(main->geometry().center());
    }
  }
  // Toolkit windows are laid out in fixed places: none can be resized.
  window->setFixedSize(frame.size());
  window->setGeometry(frame);
  if ((spec.flags & WindowHidden) == 0) {
    window->show();
    window->raise();
    window->activateWindow();
  }
  return window;
}

void QtToolkit::DestroyWindow(NativeHandle window) {
  ToolkitWindow* w = AsWindow(window);
  const bool wasActive = QApplication::activeWindow() == w;
  delete w;
  if (!wasActive) return;
  // Another toolkit window takes the focus, as the closed one had it.
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (dynamic_cast<ToolkitWindow*>(top) != nullptr && top->isVisible()) {
      top->activateWindow();
      return;
    }
  }
}

void QtToolkit::SetWindowFloating(NativeHandle window, bool on) {
  ToolkitWindow* w = AsWindow(window);
  const bool visible = w->isVisible();
  const bool active = w->isActiveWindow();
  // Changing the window flags hides a shown window.
  w->ApplyFlags(on);
  if (visible) w->show();
  if (active) w->activateWindow();
}

Rect QtToolkit::WindowContentRect(NativeHandle window) {
  QRect r = AsWindow(window)->geometry();
  // A Wayland window never learns where the compositor put it, only on which screen: it is
  // said to stand at that screen's top-left corner.
  if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
    if (const QScreen* screen = AsWindow(window)->screen()) {
      r.moveTopLeft(screen->geometry().topLeft());
    }
  }
  return {r.x(), r.y(), r.width(), r.height()};
}

void QtToolkit::SetWindowContentRect(NativeHandle window, const Rect& rect) {
  AsWindow(window)->setFixedSize(rect.width, rect.height);
  AsWindow(window)->setGeometry(rect.x, rect.y, rect.width, rect.height);
}

void QtToolkit::SetWindowTitle(NativeHandle window, std::string_view title) {
  AsWindow(window)->setWindowTitle(QtText(title));
}

std::string QtToolkit::WindowTitle(NativeHandle window) {
  return StdText(AsWindow(window)->windowTitle());
}

void QtToolkit::ActivateWindow(NativeHandle window) {
  ToolkitWindow* w = AsWindow(window);
  w->show();
  w->raise();
  w->activateWindow();
}

std::int64_t QtToolkit::ActiveWindow() {
  auto* window = dynamic_cast<ToolkitWindow*>(QApplication::activeWindow());
  return window == nullptr ? -1 : window->Number();
}

std::int64_t QtToolkit::FocusedGadget() {
  QWidget* active = QApplication::activeWindow();
  if (dynamic_cast<ToolkitWindow*>(active) == nullptr) return -1;
  // The focus may sit in a gadget's inner widget (the line edit of a combo box).
  for (QWidget* w = active->focusWidget(); w != nullptr && w != active; w = w->parentWidget()) {
    if (const std::int64_t number = GadgetNumberOf(w); number != -1) return number;
  }
  return -1;
}

void QtToolkit::FocusGadget(NativeHandle gadget) {
  static_cast<QWidget*>(gadget)->setFocus(Qt::OtherFocusReason);
}

// Fonts and images.

NativeHandle QtToolkit::CreateFont(std::string_view family, double size) {
  if (family.empty() || size <= 0) return nullptr;
  auto font = std::make_unique<QFont>(family == SystemFontFamily
                                          ? QFontDatabase::systemFont(QFontDatabase::GeneralFont)
                                          : QFont(QtText(family)));
  // Layouts are drawn in points of one pixel each (as on a 72-dpi grid); Qt's points are
  // 1/72 inch, a third larger at 96 dpi, which would overflow every label.
  font->setPixelSize(static_cast<int>(size + 0.5));
  fonts_.push_back(std::move(font));
  return fonts_.back().get();
}

void QtToolkit::ReleaseFont(NativeHandle font) {
  EraseOwned(fonts_, font);
}

NativeHandle QtToolkit::LoadImage(std::string_view path) {
  auto image = std::make_unique<QPixmap>();
  if (!image->load(QtText(path))) return nullptr;
  images_.push_back(std::move(image));
  return images_.back().get();
}

NativeHandle QtToolkit::LoadThemeIcon(std::string_view name) {
  const QIcon icon = QIcon::fromTheme(QtText(name));
  if (icon.isNull()) return nullptr;
  // Menu symbols are 16 points; the theme draws them for the screen's resolution.
  const qreal ratio = qApp->devicePixelRatio();
  auto image = std::make_unique<QPixmap>(icon.pixmap(QSize(16, 16), ratio));
  if (image->isNull()) return nullptr;
  images_.push_back(std::move(image));
  return images_.back().get();
}

int QtToolkit::ImageWidth(NativeHandle image) {
  return AsImage(image)->width();
}
int QtToolkit::ImageHeight(NativeHandle image) {
  return AsImage(image)->height();
}

void QtToolkit::ResizeImage(NativeHandle image, int width, int height) {
  QPixmap* pixmap = AsImage(image);
  if (width <= 0 || height <= 0) return;
  *pixmap = pixmap->scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  pixmap->setDevicePixelRatio(1.0);
}

void QtToolkit::SetImageSize(NativeHandle image, double width, double height) {
  QPixmap* pixmap = AsImage(image);
  if (width <= 0 || height <= 0) return;
  // A 36-pixel image shown at 18 points is a double-resolution image.
  pixmap->setDevicePixelRatio(pixmap->width() / width);
}

void QtToolkit::ReleaseImage(NativeHandle image) {
  EraseOwned(images_, image);
}

// Displays and pointer.

std::vector<DisplayRect> QtToolkit::Displays() {
  std::vector<DisplayRect> displays;
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary != nullptr) {
    const QRect r = primary->geometry();
    displays.push_back({r.x(), r.y(), r.width(), r.height()});
  }
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen == primary) continue;
    const QRect r = screen->geometry();
    displays.push_back({r.x(), r.y(), r.width(), r.height()});
  }
  return displays;
}

Point QtToolkit::PointerLocation() {
  const QPoint p = QCursor::pos();
  return {p.x(), p.y()};
}

double QtToolkit::MainDisplayScale() {
  const QScreen* primary = QGuiApplication::primaryScreen();
  return primary == nullptr ? 1.0 : primary->devicePixelRatio();
}

// Timers.

void QtToolkit::StartTimer(std::int64_t timer, int intervalMs) {
  auto qtimer = std::make_unique<QTimer>();
  qtimer->setTimerType(Qt::PreciseTimer);
  QObject::connect(qtimer.get(), &QTimer::timeout, [timer] { TimerFired(timer); });
  qtimer->start(intervalMs);
  timers_[timer] = std::move(qtimer);
}

void QtToolkit::StopTimer(std::int64_t timer) {
  auto node = timers_.extract(timer);
  if (node.empty()) return;
  node.mapped()->stop();
  // A timer is often stopped from its own timeout: it may only go once that has returned.
  node.mapped().release()->deleteLater();
}

bool QtToolkit::IsDarkAppearance() {
  return DesktopIsDark();
}

// Waiting for system events.

bool QtToolkit::ProcessSystemEvent(int timeoutMs) {
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  if (dispatcher == nullptr) return false;
  handling_ = true;
  if (timeoutMs == 0) {
    const bool handled = dispatcher->processEvents(QEventLoop::AllEvents);
    handling_ = false;
    return handled;
  }
  bool timedOut = false;
  QTimer deadline;
  if (timeoutMs > 0) {
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, [&timedOut] { timedOut = true; });
    deadline.start(timeoutMs);
  }
  dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  handling_ = false;
  return !timedOut;
}

void QtToolkit::Wake() {
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(qApp->thread())) {
    dispatcher->wakeUp();
  }
}

// Key presses reach the core before any widget, shortcut or menu sees them.

bool QtToolkit::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease: return FilterKeyEvent(event);
    case QEvent::Quit:
      // Qt's own quit (the session ending, say) runs the program's ordinary quit.
      if (watched != qApp) return false;
      QueueEvent(MenuEvent, QuitMenuNumber, ApplicationMenuWindow, 0,
                 PostWhileSuspended | PostWake);
      return true;
    default:
      // Any other event ends the delivery of the key event last seen.
      offered_.event = nullptr;
      return QObject::eventFilter(watched, event);
  }
}

bool QtToolkit::FilterKeyEvent(QEvent* event) {
  auto* key = static_cast<QKeyEvent*>(event);
  if (offered_.event == event) {
    if (offered_.consumed && event->type() == QEvent::ShortcutOverride) event->accept();
    return offered_.consumed;
  }
  bool consumed = false;
  if (event->type() == QEvent::KeyPress && override_.valid && override_.key == key->key() &&
      override_.modifiers == key->modifiers()) {
    consumed = override_.consumed;
  } else {
    KeyPress press = KeyPressFromQt(*key, ActiveWindow());
    if (event->type() == QEvent::KeyRelease) {
      NoteKeyReleased(key->nativeScanCode());
    } else if (KeyHeldSinceShown(key->nativeScanCode())) {
      press.repeated = true;
    }
    consumed = DispatchKeyPress(press);
  }
  override_.valid = event->type() == QEvent::ShortcutOverride;
  if (override_.valid) {
    override_.key = key->key();
    override_.modifiers = key->modifiers();
    override_.consumed = consumed;
    // Accepting the override keeps Qt's own shortcuts from acting on a consumed press.
    if (consumed) event->accept();
  }
  offered_ = {event, consumed};
  return consumed;
}
