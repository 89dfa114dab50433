#pragma once

// The system-wide hot keys of the four capture commands. Each registration is one HotkeyRecord,
// identified to the desktop's hot-key service by {Signature, Serial}; a press of it posts the
// record's event kind into the event queue.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/hotkey_service.h"

// "h000": a record's signature is this plus its serial.
inline constexpr std::uint32_t HotkeySignatureBase = 0x68303030;

struct HotkeyRecord {
  std::string ShortcutText;
  std::int64_t Event = 0;
  std::uint32_t Signature = 0;
  std::uint32_t Serial = 0;
};

extern bool HotkeyHandlerInstalled;
// Never reset after start-up and never reused, also after a refused registration.
extern std::uint32_t NextHotkeySerial;
extern std::vector<HotkeyRecord> HotkeyList;

// Empties the list, resets the serial and installs HotkeyPressedHandler with the hot-key
// service; false (and no hot keys for the run) when it cannot be installed.
bool InstallHotkeyHandler();

// Posts the event of the record the pressed key belongs to, if it is still registered.
void HotkeyPressedHandler(HotkeyId hotkey);
