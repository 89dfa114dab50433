#pragma once

// Start at login: an autostart entry of the desktop session (the XDG autostart folder) that
// starts this program by its absolute path. Nothing checks at start-up whether it still exists.

#include <optional>
#include <string>
#include <string_view>

// $XDG_CONFIG_HOME/autostart/vantorshot.desktop (~/.config/autostart/ when unset).
std::string AutostartEntryPath();

// The entry that starts `program`; nothing for a path a desktop entry cannot carry (control
// characters, text that is not UTF-8).
std::optional<std::string> AutostartEntryText(std::string_view program);

// Writes the entry (creating the autostart folder) when `on`, removes it otherwise. True when
// the entry is now as asked; removing an entry that is already gone succeeds.
bool ApplyLoginAgent(bool on);
