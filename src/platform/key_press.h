#pragma once

#include <cstdint>
#include <string>

// Modifier flags of a key event, as the desktop reports them (device-independent bits).
inline constexpr std::uint32_t ModifierShift = 0x20000;
inline constexpr std::uint32_t ModifierControl = 0x40000;
inline constexpr std::uint32_t ModifierOption = 0x80000;
inline constexpr std::uint32_t ModifierCommand = 0x100000;

enum class KeyEventType { KeyDown, KeyUp, FlagsChanged };

// One key event in the toolkit's terms: the virtual key code of the key-name map, the modifier
// flags, and the characters the key gives without modifiers (Shift still applied).
struct KeyPress {
  KeyEventType type = KeyEventType::KeyDown;
  std::int64_t window = -1;
  std::uint32_t modifierFlags = 0;
  std::uint16_t keyCode = 0;
  std::u16string characters;
};
