#pragma once

#include <array>
#include <cstdint>

#include "platform/key_press.h"

// A window keyboard shortcut made from a shortcut code (key in the low 16 bits, modifier bits
// 0x10000 Shift, 0x20000 Control, 0x40000 Option, 0x80000 Command) and a menu item number.
struct LxShortcut {
  std::uint32_t modifiers = 0;
  std::uint16_t character = 0;
  std::uint16_t keyCode = 0;
  std::int64_t EventMenuID = 0;
  std::uint32_t Key = 0;
};

inline constexpr std::uint32_t ShortcutModifierMask = 0xF0000;

// Virtual key codes of the main-row digit keys "0" to "9".
inline constexpr std::array<std::uint16_t, 10> DigitKeyCodes = {29, 18, 19, 20, 21,
                                                                23, 22, 26, 28, 25};
// F1 to F12 in shortcut codes: 0x100 plus the key's virtual key code.
inline constexpr std::uint32_t FunctionKeyBase = 0x100;
inline constexpr std::array<std::uint32_t, 12> FunctionKeyCodes = {
    0x17A, 0x178, 0x163, 0x176, 0x160, 0x161, 0x162, 0x164, 0x165, 0x16D, 0x167, 0x16F};

LxShortcut MakeLxShortcut(std::uint32_t code, std::int64_t item);
// The modifier bits of a key event in shortcut-code form.
std::uint32_t ShortcutModifiersOf(std::uint32_t modifierFlags);
bool LxShortcutMatches(const LxShortcut& shortcut, const KeyPress& press);
