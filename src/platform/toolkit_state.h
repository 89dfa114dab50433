#pragma once

// The toolkit core's process-wide state, shared by the files that implement toolkit.h. Not for
// use outside the core.

#include <map>
#include <memory>
#include <vector>

#include "platform/event_queue.h"
#include "platform/gadget_behaviour.h"
#include "platform/native_toolkit.h"
#include "platform/window_shortcut.h"

namespace toolkit_core {

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

Toolkit& T();
inline NativeToolkit* N() {
  return T().native;
}

// The native image of an image number, or null.
NativeHandle ImageOf(std::int64_t number);
// Queues a record and wakes a blocked wait when the posting rules say so.
void Post(const EventRecord& record);

}  // namespace toolkit_core
