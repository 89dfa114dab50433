#include "platform/toolkit.h"

#include <vector>

#include "platform/toolkit_state.h"

using namespace toolkit_core;

namespace {

void ReleaseCurrentData() {
  EventRecord& c = T().current;
  if (c.DataRelease != nullptr && c.Data != nullptr) c.DataRelease(c.Data);
  c.Data = nullptr;
  c.DataRelease = nullptr;
}

}  // namespace

namespace toolkit_core {

Toolkit& T() {
  static Toolkit toolkit;
  return toolkit;
}

NativeHandle ImageOf(std::int64_t number) {
  NativeHandle* image = T().images.Find(number);
  return image == nullptr ? nullptr : *image;
}

void Post(const EventRecord& record) {
  if (!T().queue.Post(record)) return;
  if (N() != nullptr && PostingWakes(record, N()->SystemEventPending())) N()->Wake();
}

}  // namespace toolkit_core

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

NativeToolkit* InstalledNativeToolkit() {
  return T().native;
}

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
    if (WindowShortcutMatches(shortcut, press)) {
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

std::int64_t EventNumber() {
  return T().current.Object;
}
std::int64_t EventWindowNumber() {
  return T().current.Window;
}
std::int64_t EventSubtype() {
  return T().current.Type;
}
void* EventData() {
  return T().current.Data;
}

std::int64_t AddKeyHook(KeyHookFunction hook, void* context) {
  if (hook == nullptr) return 0;
  const std::int64_t handle = T().nextKeyHook++;
  T().keyHooks[handle] = KeyHook{hook, context};
  return handle;
}

void RemoveKeyHook(std::int64_t handle) {
  T().keyHooks.erase(handle);
}

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

int IsDarkAppearance() {
  return N() != nullptr && N()->IsDarkAppearance() ? 1 : 0;
}
