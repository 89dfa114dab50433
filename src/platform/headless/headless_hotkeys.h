#pragma once

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "platform/headless/headless_toolkit.h"
#include "platform/hotkey_service.h"

namespace headless {

// Hot keys of a desktop the test controls: it can refuse the handler, refuse a key as if
// another program held it, fail the unregistration of a key, and press a registered key.
class Hotkeys final : public HotkeyService {
 public:
  explicit Hotkeys(Toolkit& toolkit) : toolkit_(toolkit) {}

  struct Registration {
    std::uint32_t keyCode = 0;
    std::uint32_t modifiers = 0;
    HotkeyId hotkey;
  };

  void RefuseHandler(bool refuse) { refuseHandler_ = refuse; }
  // A desktop that lets no program have system-wide keys.
  void WithholdKeys() { offered_ = false; }
  void RefuseKey(std::uint32_t keyCode, std::uint32_t modifiers) {
    refusedKeys_.insert({keyCode, modifiers});
  }
  // Fails the unregistration of one key only, as long as `fail` holds.
  void FailUnregistrationOf(std::uint32_t keyCode, std::uint32_t modifiers, bool fail) {
    if (fail) {
      failingKeys_.insert({keyCode, modifiers});
    } else {
      failingKeys_.erase({keyCode, modifiers});
    }
  }
  // Pushes a press of the key as the desktop's event; false when no registration has it.
  bool PressKey(std::uint32_t keyCode, std::uint32_t modifiers);

  const std::vector<Registration>& Registrations() const { return registrations_; }
  bool HandlerInstalled() const { return handler_ != nullptr; }

  bool InstallHandler(HotkeyPressedFunction handler) override;
  using HotkeyService::RegisterKey;
  bool RegisterKey(std::uint32_t keyCode, std::uint32_t modifiers, HotkeyId hotkey,
                   std::string_view purpose) override;
  bool UnregisterKey(HotkeyId hotkey) override;
  bool Offered() const override { return offered_; }

 private:
  Toolkit& toolkit_;
  HotkeyPressedFunction handler_ = nullptr;
  bool refuseHandler_ = false;
  bool offered_ = true;
  std::set<std::pair<std::uint32_t, std::uint32_t>> refusedKeys_;
  std::set<std::pair<std::uint32_t, std::uint32_t>> failingKeys_;
  std::vector<Registration> registrations_;
};

}  // namespace headless
