#pragma once

// The system-wide hot keys of the four capture commands. Each registration is one HotkeyRecord,
// identified to the desktop's hot-key service by {Signature, Serial}; a press of it posts the
// record's event kind into the event queue.

#include <cstdint>
#include <string>
#include <string_view>
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

// One of the program's few process-wide records: the hot keys registered now.
extern std::vector<HotkeyRecord> HotkeyList;

// Empties the list, restarts the serials and installs HotkeyPressedHandler with the hot-key
// service; false (and no hot keys for the run) when it cannot be installed.
bool InstallHotkeyHandler();

// Posts the event of the record the pressed key belongs to, if it is still registered.
void HotkeyPressedHandler(HotkeyId hotkey);

// Registers `text` to post `event`; false for a text shorter than 2 characters, a key name the
// key-name map lacks, or a combination the desktop refuses. Serials are never reused, also
// after a refused registration.
bool RegisterHotkey(std::string_view text, std::int64_t event);

// Removes every record whose text equals `text` or whose event is `event`. Stops at the first
// record the desktop fails to release: that one and all later ones stay.
void UnregisterHotkey(std::string_view text, std::int64_t event);

// Registers ShortKey1 to ShortKey4 for their commands, in that order.
void RegisterStartupHotkeys();
