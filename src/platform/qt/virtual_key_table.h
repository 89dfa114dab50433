#pragma once

// The desktop's keys in the virtual key codes of the key-name map: from the X server's key
// codes (evdev positions), from X keysyms and from Qt key values, and back to keysyms for grabs.

#include <cstdint>
#include <optional>

// The virtual key code at an X key code (a physical position, as the codes themselves are).
std::optional<std::uint16_t> VirtualKeyForXKeycode(std::uint32_t xKeycode);
// The virtual key code of a Qt key value; `keypad` for keys of the numeric pad. Shifted symbols
// of the US layout give their key ("$" gives the code of "4").
std::optional<std::uint16_t> VirtualKeyForQtKey(int qtKey, bool keypad);
// The keysym to grab for a virtual key code; 0 when this desktop has no such key.
std::uint32_t KeysymForVirtualKey(std::uint16_t virtualKey);
// The character a key press gives as the toolkit reports it: the keysym's character, or the
// private-use function-key characters (U+F700...) for keys without one; 0 when there is none.
char16_t CharacterForKeysym(std::uint32_t keysym);
// The same from a Qt key value, for key events that carry no keysym.
char16_t CharacterForQtKey(int qtKey, bool shift);
// Whether the Qt key is a modifier key (its presses only change the flags).
bool IsModifierQtKey(int qtKey);
