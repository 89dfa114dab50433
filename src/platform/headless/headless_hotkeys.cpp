#include "platform/headless/headless_hotkeys.h"

#include <algorithm>

namespace headless {

namespace {
bool SameId(HotkeyId a, HotkeyId b) {
  return a.signature == b.signature && a.id == b.id;
}
}  // namespace

bool Hotkeys::InstallHandler(HotkeyPressedFunction handler) {
  if (refuseHandler_ || handler == nullptr) return false;
  handler_ = handler;
  return true;
}

bool Hotkeys::RegisterKey(std::uint32_t keyCode, std::uint32_t modifiers, HotkeyId hotkey,
                          std::string_view) {
  if (!offered_) return false;
  if (refusedKeys_.count({keyCode, modifiers}) != 0) return false;
  for (const Registration& r : registrations_) {
    if (r.keyCode == keyCode && r.modifiers == modifiers) return false;
  }
  registrations_.push_back({keyCode, modifiers, hotkey});
  return true;
}

bool Hotkeys::UnregisterKey(HotkeyId hotkey) {
  auto it = std::find_if(registrations_.begin(), registrations_.end(),
                         [hotkey](const Registration& r) { return SameId(r.hotkey, hotkey); });
  if (it == registrations_.end()) return false;
  if (failingKeys_.count({it->keyCode, it->modifiers}) != 0) return false;
  registrations_.erase(it);
  return true;
}

bool Hotkeys::PressKey(std::uint32_t keyCode, std::uint32_t modifiers) {
  for (const Registration& r : registrations_) {
    if (r.keyCode != keyCode || r.modifiers != modifiers) continue;
    const HotkeyId hotkey = r.hotkey;
    toolkit_.PushSystemEvent([this, hotkey] {
      if (handler_ != nullptr) handler_(hotkey);
    });
    return true;
  }
  return false;
}

}  // namespace headless
