#pragma once

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

LxShortcut MakeLxShortcut(std::uint32_t code, std::int64_t item);
// The modifier bits of a key event in shortcut-code form.
std::uint32_t ShortcutModifiersOf(std::uint32_t modifierFlags);
bool LxShortcutMatches(const LxShortcut& shortcut, const KeyPress& press);
