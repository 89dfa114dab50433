#pragma once

// The desktop's system-wide hot keys: a key (virtual key code and a modifier word of Hotkey*
// bits, see key_codes.h) is registered under an identifier, and every press anywhere on the
// desktop is reported with that identifier.

#include <cstdint>
#include <string_view>

struct HotkeyId {
  std::uint32_t signature = 0;
  std::uint32_t id = 0;
};

using HotkeyPressedFunction = void (*)(HotkeyId hotkey);

class HotkeyService {
 public:
  virtual ~HotkeyService() = default;
  // Installs the one handler presses are reported to; false when it cannot be installed.
  virtual bool InstallHandler(HotkeyPressedFunction handler) = 0;
  // False when the key cannot be had (taken by another program, or not a key of this desktop).
  // `purpose` says in words what the key does, for desktops that list the keys they hand out.
  virtual bool RegisterKey(std::uint32_t keyCode, std::uint32_t modifiers, HotkeyId hotkey,
                           std::string_view purpose) = 0;
  bool RegisterKey(std::uint32_t keyCode, std::uint32_t modifiers, HotkeyId hotkey) {
    return RegisterKey(keyCode, modifiers, hotkey, {});
  }
  virtual bool UnregisterKey(HotkeyId hotkey) = 0;
  // Whether this desktop lets a program have system-wide keys at all. Where it does not, no key
  // can be registered and the user binds keys in the desktop's own keyboard settings instead.
  virtual bool Offered() const { return true; }
};

void InstallHotkeyService(HotkeyService* service);
HotkeyService* InstalledHotkeyService();
