#pragma once

// System-wide hot keys on X11: passive key grabs on the root window (with the Caps Lock and
// Num Lock variants), their presses read from Qt's X connection.

#include <cstdint>
#include <utility>
#include <vector>

#include <QAbstractNativeEventFilter>

#include "platform/hotkey_service.h"

struct xcb_connection_t;

class X11HotkeyService final : public HotkeyService, public QAbstractNativeEventFilter {
 public:
  X11HotkeyService();
  ~X11HotkeyService() override;

  bool InstallHandler(HotkeyPressedFunction handler) override;
  using HotkeyService::RegisterKey;
  bool RegisterKey(std::uint32_t keyCode, std::uint32_t modifiers, HotkeyId hotkey,
                   std::string_view purpose) override;
  bool UnregisterKey(HotkeyId hotkey) override;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  struct Grab {
    HotkeyId hotkey;
    std::vector<std::uint8_t> keycodes;
    std::uint16_t modifiers = 0;  // X modifier mask without the lock bits
    // The grabs made for it, lock variants included, exactly as they will be released: the
    // NumLock modifier may move before then.
    std::vector<std::pair<std::uint8_t, std::uint16_t>> held;
  };

  std::vector<std::uint16_t> LockVariants() const;
  void Ungrab(const Grab& grab);

  xcb_connection_t* connection_ = nullptr;  // Qt's; null without an X11 display
  std::uint32_t root_ = 0;
  HotkeyPressedFunction handler_ = nullptr;
  bool filtering_ = false;
  std::vector<Grab> grabs_;
};
