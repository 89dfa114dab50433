#pragma once

// Registering and releasing the hot keys of the capture commands from their shortcut texts.

#include <cstdint>
#include <string_view>

// Registers `text` to post `event`; false for a text shorter than 2 characters, a key name the
// key-name map lacks, or a combination the desktop refuses.
bool RegisterHotkey(std::string_view text, std::int64_t event);

// Removes every record whose text equals `text` or whose event is `event`. Stops at the first
// record the desktop fails to release: that one and all later ones stay.
void UnregisterHotkey(std::string_view text, std::int64_t event);

// Registers ShortKey1 to ShortKey4 for their commands, in that order.
void RegisterStartupHotkeys();
