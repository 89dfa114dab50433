#pragma once

// A window keyboard shortcut: a key press in the window that matches it posts MenuEvent with
// its item number. (Lx marks the toolkit's own records and classes.)

#include <cstdint>

#include "platform/key_press.h"

struct LxShortcut {
  std::uint32_t modifiers = 0;  // shortcut-code modifier bits
  std::uint16_t character = 0;  // the character the press must give, or
  std::uint16_t keyCode = 0;    // the virtual key it must be, for keys matched by position
  std::int64_t EventMenuID = 0;
  std::uint32_t Key = 0;  // the shortcut code it was made from
};

LxShortcut MakeLxShortcut(std::uint32_t code, std::int64_t item);
bool WindowShortcutMatches(const LxShortcut& shortcut, const KeyPress& press);
