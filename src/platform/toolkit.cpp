#include "platform/toolkit.h"

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/event_queue.h"
#include "platform/gadget_behaviour.h"
#include "platform/lx_shortcut.h"
#include "platform/native_toolkit.h"

namespace {

// Numbers chosen for AutoNumber start far above any the application picks.
constexpr std::int64_t FirstAutoNumber = 0x40000000;

struct WindowRecord {
  NativeHandle native = nullptr;
  std::vector<LxShortcut> shortcuts;
};

struct GadgetRecord {
  NativeHandle native = nullptr;
  std::int64_t window = 0;
  GadgetKind kind = GadgetKind::Text;
  std::unique_ptr<LxGadgetFunctions> behaviour;
};

struct MenuRecord {
  NativeHandle native = nullptr;
  // Open submenus; items are added to the innermost.
  std::vector<NativeHandle> open;
};

struct TimerRecord {
  TimerFunction callback = nullptr;
  void* context = nullptr;
};

struct KeyHook {
  KeyHookFunction hook = nullptr;
  void* context = nullptr;
};

template <typename Record>
struct Table {
  std::map<std::int64_t, Record> records;
  std::int64_t nextAuto = FirstAutoNumber;

  Record* Find(std::int64_t number) {
    auto it = records.find(number);
    return it == records.end() ? nullptr : &it->second;
  }
  std::int64_t Choose(std::int64_t number) {
    if (number != AutoNumber) return number;
    while (records.count(nextAuto) != 0) ++nextAuto;
    return nextAuto++;
  }
};

// The toolkit's process-wide state.
struct Toolkit {
  NativeToolkit* native = nullptr;
  EventQueue queue;
  EventRecord current;
  Table<WindowRecord> windows;
  Table<GadgetRecord> gadgets;
  Table<MenuRecord> menus;
  Table<NativeHandle> fonts;
  Table<NativeHandle> images;
  Table<TimerRecord> timers;
  std::map<std::int64_t, KeyHook> keyHooks;
  std::int64_t nextKeyHook = 1;
  std::int64_t currentWindow = -1;
  NativeHandle defaultFont = nullptr;
  bool statusItem = false;
};

Toolkit& T() {
  static Toolkit toolkit;
  return toolkit;
}

NativeToolkit* N() { return T().native; }

void ReleaseCurrentData() {
  EventRecord& c = T().current;
  if (c.DataRelease != nullptr && c.Data != nullptr) c.DataRelease(c.Data);
  c.Data = nullptr;
  c.DataRelease = nullptr;
}

void Post(const EventRecord& record) {
  if (!T().queue.Post(record)) return;
  if (N() != nullptr && PostingWakes(record, N()->SystemEventPending())) N()->Wake();
}

std::int64_t NewGadget(std::int64_t number, const GadgetSpec& given,
                       std::unique_ptr<LxGadgetFunctions> behaviour) {
  Toolkit& t = T();
  WindowRecord* window = t.windows.Find(t.currentWindow);
  if (N() == nullptr || window == nullptr) return 0;
  if (number != AutoNumber) FreeGadget(number);
  const std::int64_t chosen = t.gadgets.Choose(number);
  GadgetSpec spec = given;
  spec.font = t.defaultFont;
  NativeHandle native = N()->CreateGadget(window->native, chosen, spec);
  if (native == nullptr) return 0;
  GadgetRecord& record = t.gadgets.records[chosen];
  record.native = native;
  record.window = t.currentWindow;
  record.kind = spec.kind;
  record.behaviour = std::move(behaviour);
  return chosen;
}

std::int64_t NewSimpleGadget(std::int64_t number, GadgetKind kind, int x, int y, int width,
                             int height, std::string_view text, std::uint32_t flags = 0,
                             NativeHandle image = nullptr) {
  GadgetSpec spec;
  spec.kind = kind;
  spec.x = x;
  spec.y = y;
  spec.width = width;
  spec.height = height;
  spec.text = std::string(text);
  spec.flags = flags;
  spec.image = image;
  return NewGadget(number, spec, nullptr);
}

NativeHandle ImageOf(std::int64_t number) {
  NativeHandle* image = T().images.Find(number);
  return image == nullptr ? nullptr : *image;
}

}  // namespace

// Realisation entry points.

void InstallNativeToolkit(NativeToolkit* toolkit) {
  Toolkit& t = T();
  if (toolkit == nullptr) {
    t.queue.Clear();
    ReleaseCurrentData();
    t.current = EventRecord{};
    t.windows = {};
    t.gadgets = {};
    t.menus = {};
    t.fonts = {};
    t.images = {};
    t.timers = {};
    t.keyHooks.clear();
    t.currentWindow = -1;
    t.defaultFont = nullptr;
    t.statusItem = false;
  }
  t.native = toolkit;
}

NativeToolkit* InstalledNativeToolkit() { return T().native; }

bool DispatchKeyPress(const KeyPress& press) {
  // Every hook sees the event, even after one has consumed it. A hook may free a gadget and
  // with it another hook, so each is looked up again just before it is called.
  bool consumed = false;
  std::vector<std::int64_t> handles;
  for (const auto& [handle, hook] : T().keyHooks) handles.push_back(handle);
  for (std::int64_t handle : handles) {
    auto it = T().keyHooks.find(handle);
    if (it == T().keyHooks.end()) continue;
    const KeyHook hook = it->second;
    if (hook.hook(press, hook.context) != 0) consumed = true;
  }
  if (consumed) return true;
  WindowRecord* window = T().windows.Find(press.window);
  if (window == nullptr) return false;
  for (const LxShortcut& shortcut : window->shortcuts) {
    if (LxShortcutMatches(shortcut, press)) {
      QueueEvent(MenuEvent, shortcut.EventMenuID, press.window, 0, 0);
      return true;
    }
  }
  return false;
}

void PostToolkitEvent(std::int32_t kind, std::int64_t object, std::int64_t window,
                      std::int64_t type) {
  QueueEvent(kind, object, window, type, 0);
}

void TimerFired(std::int64_t timer) {
  TimerRecord* record = T().timers.Find(timer);
  if (record != nullptr) record->callback(timer, record->context);
}

// Events.

void QueueEvent(std::int32_t kind, std::int64_t object, std::int64_t window, std::int64_t type,
                std::uint32_t flags, void* data, DataReleaseFunction release) {
  EventRecord record;
  record.Event = kind;
  record.Flags = flags;
  record.Object = object;
  record.Window = window;
  record.Type = type;
  record.Data = data;
  record.DataRelease = release;
  Post(record);
}

std::int32_t NextEvent(int timeoutMs) {
  Toolkit& t = T();
  ReleaseCurrentData();
  if (t.queue.Empty() && t.native != nullptr) {
    if (!t.native->ProcessSystemEvent(timeoutMs)) return 0;
  }
  if (t.queue.Empty()) return -1;
  t.current = t.queue.TakeHead();
  return t.current.Event;
}

std::int64_t EventNumber() { return T().current.Object; }
std::int64_t EventWindowNumber() { return T().current.Window; }
std::int64_t EventSubtype() { return T().current.Type; }
void* EventData() { return T().current.Data; }

std::int64_t AddKeyHook(KeyHookFunction hook, void* context) {
  if (hook == nullptr) return 0;
  const std::int64_t handle = T().nextKeyHook++;
  T().keyHooks[handle] = KeyHook{hook, context};
  return handle;
}

void RemoveKeyHook(std::int64_t handle) { T().keyHooks.erase(handle); }

void AddKeyboardShortcut(std::int64_t window, std::uint32_t shortcut, std::int64_t item) {
  WindowRecord* record = T().windows.Find(window);
  if (record == nullptr) return;
  for (LxShortcut& existing : record->shortcuts) {
    if (existing.Key == shortcut) {
      existing = MakeLxShortcut(shortcut, item);
      return;
    }
  }
  record->shortcuts.push_back(MakeLxShortcut(shortcut, item));
}

void RemoveKeyboardShortcut(std::int64_t window, std::uint32_t shortcut) {
  WindowRecord* record = T().windows.Find(window);
  if (record == nullptr) return;
  std::erase_if(record->shortcuts, [shortcut](const LxShortcut& s) { return s.Key == shortcut; });
}

// Windows.

std::int64_t NewWindow(std::int64_t number, int x, int y, int width, int height,
                       std::string_view title, std::uint32_t flags) {
  Toolkit& t = T();
  if (t.native == nullptr) return 0;
  if (number != AutoNumber) DestroyWindow(number);
  const std::int64_t chosen = t.windows.Choose(number);
  WindowSpec spec;
  spec.x = x;
  spec.y = y;
  spec.width = width;
  spec.height = height;
  spec.title = std::string(title);
  spec.flags = flags;
  if (x == IgnoreCoordinate || y == IgnoreCoordinate) spec.flags |= WindowCentred;
  // What the window's own set-up causes is not the user's doing.
  t.queue.Suspend();
  NativeHandle native = t.native->CreateWindow(chosen, spec);
  t.queue.Resume();
  if (native == nullptr) return 0;
  t.windows.records[chosen].native = native;
  t.currentWindow = chosen;
  return chosen;
}

void DestroyWindow(std::int64_t number) {
  Toolkit& t = T();
  WindowRecord* window = t.windows.Find(number);
  if (window == nullptr) return;
  std::vector<std::int64_t> owned;
  for (const auto& [gadget, record] : t.gadgets.records) {
    if (record.window == number) owned.push_back(gadget);
  }
  for (std::int64_t gadget : owned) FreeGadget(gadget);
  NativeHandle native = window->native;
  t.windows.records.erase(number);
  if (t.currentWindow == number) t.currentWindow = -1;
  t.native->DestroyWindow(native);
  t.queue.RemoveWindowEvents(number);
}

int WindowExists(std::int64_t number) { return T().windows.Find(number) != nullptr ? 1 : 0; }

void* WindowObject(std::int64_t number) {
  WindowRecord* window = T().windows.Find(number);
  return window == nullptr ? nullptr : window->native;
}

void SetWindowFloating(std::int64_t number, int on) {
  if (WindowRecord* w = T().windows.Find(number)) N()->SetWindowFloating(w->native, on != 0);
}

namespace {
Rect ContentRect(std::int64_t number) {
  WindowRecord* w = T().windows.Find(number);
  return w == nullptr ? Rect{} : N()->WindowContentRect(w->native);
}
}  // namespace

int WindowX(std::int64_t number) { return ContentRect(number).x; }
int WindowY(std::int64_t number) { return ContentRect(number).y; }
int WindowContentWidth(std::int64_t number) { return ContentRect(number).width; }
int WindowContentHeight(std::int64_t number) { return ContentRect(number).height; }

void MoveWindow(std::int64_t number, int x, int y, int width, int height) {
  WindowRecord* w = T().windows.Find(number);
  if (w == nullptr) return;
  Rect r = N()->WindowContentRect(w->native);
  if (x != IgnoreCoordinate) r.x = x;
  if (y != IgnoreCoordinate) r.y = y;
  if (width != IgnoreCoordinate) r.width = width;
  if (height != IgnoreCoordinate) r.height = height;
  N()->SetWindowContentRect(w->native, r);
}

void SetWindowTitle(std::int64_t number, std::string_view title) {
  if (WindowRecord* w = T().windows.Find(number)) N()->SetWindowTitle(w->native, title);
}

std::string GetWindowTitle(std::int64_t number) {
  WindowRecord* w = T().windows.Find(number);
  return w == nullptr ? std::string() : N()->WindowTitle(w->native);
}

void SetWindowBackground(std::int64_t number, std::int64_t rgb, int cornerRadius) {
  if (WindowRecord* w = T().windows.Find(number)) {
    N()->SetWindowBackground(w->native, rgb & 0xFFFFFF, cornerRadius < 0 ? 0 : cornerRadius);
  }
}

void SetWindowOpacity(std::int64_t number, double opacity) {
  if (WindowRecord* w = T().windows.Find(number)) {
    N()->SetWindowOpacity(w->native, opacity < 0 ? 0 : opacity > 1 ? 1 : opacity);
  }
}

std::int64_t ActiveWindow() { return N() == nullptr ? -1 : N()->ActiveWindow(); }
std::int64_t FocusedGadget() { return N() == nullptr ? -1 : N()->FocusedGadget(); }

void SetActiveGadget(std::int64_t gadget) {
  GadgetRecord* g = T().gadgets.Find(gadget);
  if (g == nullptr) return;
  if (WindowRecord* w = T().windows.Find(g->window)) N()->ActivateWindow(w->native);
  N()->FocusGadget(g->native);
}

// Displays.

int DisplayCount() { return N() == nullptr ? 0 : static_cast<int>(N()->Displays().size()); }

DisplayRect DisplayGeometry(int index) {
  if (N() == nullptr) return {};
  const std::vector<DisplayRect> displays = N()->Displays();
  if (index < 0 || index >= static_cast<int>(displays.size())) return {};
  return displays[static_cast<std::size_t>(index)];
}

Point PointerLocation() { return N() == nullptr ? Point{} : N()->PointerLocation(); }
double MainDisplayScale() { return N() == nullptr ? 0.0 : N()->MainDisplayScale(); }

// Gadgets.

std::int64_t NewTextGadget(std::int64_t number, int x, int y, int width, int height,
                           std::string_view text, std::uint32_t flags) {
  return NewSimpleGadget(number, GadgetKind::Text, x, y, width, height, text, flags);
}

std::int64_t NewButtonGadget(std::int64_t number, int x, int y, int width, int height,
                             std::string_view text) {
  return NewSimpleGadget(number, GadgetKind::Button, x, y, width, height, text);
}

std::int64_t NewCheckboxGadget(std::int64_t number, int x, int y, int width, int height,
                               std::string_view text) {
  return NewSimpleGadget(number, GadgetKind::Checkbox, x, y, width, height, text);
}

std::int64_t NewComboBoxGadget(std::int64_t number, int x, int y, int width, int height,
                               std::uint32_t flags) {
  const GadgetKind kind = (flags & ComboEditable) != 0 ? GadgetKind::EditCombo : GadgetKind::PopUp;
  return NewSimpleGadget(number, kind, x, y, width, height, {}, flags);
}

std::int64_t NewImageGadget(std::int64_t number, int x, int y, int width, int height,
                            std::int64_t image) {
  return NewSimpleGadget(number, GadgetKind::Image, x, y, width, height, {}, 0, ImageOf(image));
}

std::int64_t NewBehaviourGadget(std::int64_t number, const GadgetSpec& spec,
                                std::unique_ptr<LxGadgetFunctions> behaviour) {
  return NewGadget(number, spec, std::move(behaviour));
}

int GadgetExists(std::int64_t number) { return T().gadgets.Find(number) != nullptr ? 1 : 0; }

void* GadgetHandle(std::int64_t number) {
  GadgetRecord* g = T().gadgets.Find(number);
  return g == nullptr ? nullptr : g->native;
}

std::int64_t GadgetWindow(std::int64_t number) {
  GadgetRecord* g = T().gadgets.Find(number);
  return g == nullptr ? 0 : g->window;
}

void AddGadgetItem(std::int64_t number, int position, std::string_view text, std::int64_t image) {
  if (GadgetRecord* g = T().gadgets.Find(number)) {
    N()->AddGadgetItem(g->native, position, text, ImageOf(image));
  }
}

void SetGadgetState(std::int64_t number, std::int64_t state) {
  GadgetRecord* g = T().gadgets.Find(number);
  if (g == nullptr) return;
  if (g->behaviour) {
    g->behaviour->SetGadgetState(state);
  } else {
    N()->SetGadgetState(g->native, state);
  }
}

std::int64_t GetGadgetState(std::int64_t number) {
  GadgetRecord* g = T().gadgets.Find(number);
  if (g == nullptr) return 0;
  return g->behaviour ? g->behaviour->GetGadgetState() : N()->GadgetState(g->native);
}

void SetGadgetText(std::int64_t number, std::string_view text) {
  if (GadgetRecord* g = T().gadgets.Find(number)) N()->SetGadgetText(g->native, text);
}

std::string GetGadgetText(std::int64_t number) {
  GadgetRecord* g = T().gadgets.Find(number);
  return g == nullptr ? std::string() : N()->GadgetText(g->native);
}

void SetGadgetItemText(std::int64_t number, int item, std::string_view text) {
  if (GadgetRecord* g = T().gadgets.Find(number)) N()->SetGadgetItemText(g->native, item, text);
}

std::string GetGadgetItemText(std::int64_t number, int item) {
  GadgetRecord* g = T().gadgets.Find(number);
  return g == nullptr ? std::string() : N()->GadgetItemText(g->native, item);
}

int CountGadgetItems(std::int64_t number) {
  GadgetRecord* g = T().gadgets.Find(number);
  return g == nullptr ? 0 : N()->CountGadgetItems(g->native);
}

void DisableGadget(std::int64_t number, int state) {
  if (GadgetRecord* g = T().gadgets.Find(number)) N()->DisableGadget(g->native, state != 0);
}

void GadgetToolTip(std::int64_t number, std::string_view text) {
  if (GadgetRecord* g = T().gadgets.Find(number)) N()->SetGadgetToolTip(g->native, text);
}

void SetGadgetFont(std::int64_t number, std::int64_t font) {
  NativeHandle* handle = T().fonts.Find(font);
  NativeHandle native = handle == nullptr ? nullptr : *handle;
  if (number == DefaultFont) {
    T().defaultFont = native;
    return;
  }
  if (GadgetRecord* g = T().gadgets.Find(number)) N()->SetGadgetFont(g->native, native);
}

void SetGadgetColor(std::int64_t number, int colorType, std::int64_t rgb) {
  if (GadgetRecord* g = T().gadgets.Find(number)) N()->SetGadgetColor(g->native, colorType, rgb);
}

void FreeGadget(std::int64_t number) {
  Toolkit& t = T();
  if (number == -1) {
    while (!t.gadgets.records.empty()) FreeGadget(t.gadgets.records.begin()->first);
    return;
  }
  auto it = t.gadgets.records.find(number);
  if (it == t.gadgets.records.end()) return;
  // Take the record out first: a behaviour's destructor may call back into the toolkit.
  GadgetRecord record = std::move(it->second);
  t.gadgets.records.erase(it);
  record.behaviour.reset();
  t.native->FreeGadget(record.native);
}

// Fonts.

std::int64_t NewFont(std::int64_t number, std::string_view family, double size) {
  if (N() == nullptr) return 0;
  if (number != AutoNumber) ReleaseFont(number);
  NativeHandle native = N()->CreateFont(family, size);
  if (native == nullptr) return 0;
  const std::int64_t chosen = T().fonts.Choose(number);
  T().fonts.records[chosen] = native;
  return chosen;
}

void* FontHandle(std::int64_t number) {
  NativeHandle* font = T().fonts.Find(number);
  return font == nullptr ? nullptr : *font;
}

void ReleaseFont(std::int64_t number) {
  NativeHandle* font = T().fonts.Find(number);
  if (font == nullptr) return;
  if (T().defaultFont == *font) T().defaultFont = nullptr;
  N()->ReleaseFont(*font);
  T().fonts.records.erase(number);
}

// Images.

std::int64_t LoadImage(std::int64_t number, std::string_view path) {
  if (N() == nullptr) return 0;
  NativeHandle native = N()->LoadImage(path);
  if (native == nullptr) return 0;
  if (number != AutoNumber) FreeImage(number);
  const std::int64_t chosen = T().images.Choose(number);
  T().images.records[chosen] = native;
  return chosen;
}

std::int64_t LoadSymbolImage(std::int64_t number, std::string_view themeName,
                             std::string_view fallbackPath) {
  if (N() == nullptr) return 0;
  NativeHandle native = N()->LoadThemeIcon(themeName);
  if (native == nullptr) return LoadImage(number, fallbackPath);
  if (number != AutoNumber) FreeImage(number);
  const std::int64_t chosen = T().images.Choose(number);
  T().images.records[chosen] = native;
  return chosen;
}

int ImageExists(std::int64_t number) { return T().images.Find(number) != nullptr ? 1 : 0; }
void* ImageHandle(std::int64_t number) { return ImageOf(number); }

int ImageWidth(std::int64_t number) {
  NativeHandle image = ImageOf(number);
  return image == nullptr ? 0 : N()->ImageWidth(image);
}

int ImageHeight(std::int64_t number) {
  NativeHandle image = ImageOf(number);
  return image == nullptr ? 0 : N()->ImageHeight(image);
}

void ResizeImage(std::int64_t number, int width, int height) {
  if (NativeHandle image = ImageOf(number)) N()->ResizeImage(image, width, height);
}

void SetImageSize(std::int64_t number, double width, double height) {
  if (NativeHandle image = ImageOf(number)) N()->SetImageSize(image, width, height);
}

void FreeImage(std::int64_t number) {
  NativeHandle image = ImageOf(number);
  if (image == nullptr) return;
  N()->ReleaseImage(image);
  T().images.records.erase(number);
}

// Menus.

namespace {
NativeHandle InnermostMenu(std::int64_t number) {
  MenuRecord* menu = T().menus.Find(number);
  if (menu == nullptr) return nullptr;
  return menu->open.empty() ? menu->native : menu->open.back();
}
}  // namespace

std::int64_t NewPopupMenu(std::int64_t number) {
  if (N() == nullptr) return 0;
  if (number != AutoNumber) FreeMenu(number);
  const std::int64_t chosen = T().menus.Choose(number);
  NativeHandle native = N()->CreateMenu(chosen);
  if (native == nullptr) return 0;
  T().menus.records[chosen].native = native;
  return chosen;
}

int MenuExists(std::int64_t number) { return T().menus.Find(number) != nullptr ? 1 : 0; }

void AddMenuItem(std::int64_t menu, std::int64_t item, std::string_view text,
                 std::int64_t image) {
  if (NativeHandle native = InnermostMenu(menu)) {
    N()->AddMenuItem(native, item, text, ImageOf(image));
  }
}

void AddMenuSeparator(std::int64_t menu) {
  if (NativeHandle native = InnermostMenu(menu)) N()->AddMenuSeparator(native);
}

void OpenSubMenu(std::int64_t menu, std::string_view text, std::int64_t image) {
  NativeHandle native = InnermostMenu(menu);
  if (native == nullptr) return;
  if (NativeHandle sub = N()->AddSubMenu(native, text, ImageOf(image))) {
    T().menus.Find(menu)->open.push_back(sub);
  }
}

void CloseSubMenu(std::int64_t menu) {
  MenuRecord* record = T().menus.Find(menu);
  if (record != nullptr && !record->open.empty()) record->open.pop_back();
}

void SetMenuItemDisabled(std::int64_t menu, std::int64_t item, int state) {
  if (MenuRecord* m = T().menus.Find(menu)) N()->SetMenuItemDisabled(m->native, item, state != 0);
}

void SetMenuItemTitle(std::int64_t menu, std::int64_t item, std::string_view text) {
  if (MenuRecord* m = T().menus.Find(menu)) N()->SetMenuItemTitle(m->native, item, text);
}

void FreeMenu(std::int64_t number) {
  MenuRecord* menu = T().menus.Find(number);
  if (menu == nullptr) return;
  N()->FreeMenu(menu->native);
  T().menus.records.erase(number);
}

// Status item.

int CreateStatusItem() {
  if (N() == nullptr || T().statusItem) return T().statusItem ? 1 : 0;
  T().statusItem = N()->CreateStatusItem();
  return T().statusItem ? 1 : 0;
}

void SetStatusItemImage(std::int64_t image) {
  if (T().statusItem) N()->SetStatusItemImage(ImageOf(image));
}

void SetStatusItemMenu(std::int64_t menu) {
  MenuRecord* m = T().menus.Find(menu);
  if (T().statusItem && m != nullptr) N()->SetStatusItemMenu(m->native);
}

void RemoveStatusItem() {
  if (!T().statusItem) return;
  N()->RemoveStatusItem();
  T().statusItem = false;
}

// Timers.

std::int64_t AddTimer(int intervalMs, TimerFunction callback, void* context) {
  if (N() == nullptr || callback == nullptr) return 0;
  const std::int64_t timer = T().timers.Choose(AutoNumber);
  T().timers.records[timer] = TimerRecord{callback, context};
  N()->StartTimer(timer, intervalMs);
  return timer;
}

void RemoveTimer(std::int64_t timer) {
  if (T().timers.Find(timer) == nullptr) return;
  N()->StopTimer(timer);
  T().timers.records.erase(timer);
}

int IsDarkAppearance() { return N() != nullptr && N()->IsDarkAppearance() ? 1 : 0; }
