#pragma once

#include <cstdint>
#include <string>

#include "platform/key_codes.h"

enum class KeyEventType { KeyDown, KeyUp, FlagsChanged };

// One key event in the toolkit's terms: the virtual key code, the modifier flags (Modifier*),
// and the characters the key gives without modifiers (Shift still applied).
struct KeyPress {
  KeyEventType type = KeyEventType::KeyDown;
  std::int64_t window = -1;
  std::uint32_t modifierFlags = 0;
  std::uint16_t keyCode = 0;
  std::u16string characters;
  // A press the system repeats while the key is held, not one the user made.
  bool repeated = false;
};
