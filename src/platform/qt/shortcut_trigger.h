#pragma once

// A key with its modifiers in the form the desktop's shortcut portal reads (the freedesktop
// shortcuts form): the modifiers CTRL, ALT, SHIFT and LOGO, then the key's xkb name, joined by
// "+" ("SHIFT+LOGO+3", "CTRL+ALT+F5", "LOGO+space").

#include <cstdint>
#include <string>

// `modifiers` is a word of Hotkey* bits (key_codes.h); empty for a key this desktop lacks.
std::string ShortcutTrigger(std::uint16_t virtualKey, std::uint32_t modifiers);
