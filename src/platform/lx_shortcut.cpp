#include "platform/lx_shortcut.h"

namespace {

constexpr std::uint32_t ShiftBit = 0x10000;

bool IsFunctionKey(std::uint32_t key) {
  for (std::uint32_t code : FunctionKeyCodes) {
    if (code == key) return true;
  }
  return false;
}

std::uint16_t ShiftedCharacter(std::uint16_t c) {
  switch (c) {
    case 9: return 25;
    case '+': return '*';
    case ',': return ';';
    case '-': return '_';
    case '.': return ':';
    default: break;
  }
  if (c >= 'a' && c <= 'z') return static_cast<std::uint16_t>(c - 32);
  return c;
}

}  // namespace

std::uint32_t ShortcutModifiersOf(std::uint32_t modifierFlags) {
  return (modifierFlags >> 1) & ShortcutModifierMask;
}

LxShortcut MakeLxShortcut(std::uint32_t code, std::int64_t item) {
  LxShortcut s;
  s.Key = code;
  s.modifiers = code & ShortcutModifierMask;
  s.EventMenuID = item;
  s.character = static_cast<std::uint16_t>(code & 0xFFFF);
  // Key events report their characters with Shift applied, also beside other modifiers.
  if (s.modifiers & ShiftBit) s.character = ShiftedCharacter(s.character);

  const std::uint32_t key = code & 0xFFFF;
  switch (key) {
    case 1: s.character = 0xF729; break;    // Home
    case 4: s.character = 0xF72B; break;    // End
    case 5: s.character = 0xF727; break;    // Insert
    case 11: s.character = 0xF72C; break;   // Page Up
    case 12: s.character = 0xF72D; break;   // Page Down
    case 127: s.character = 0xF728; break;  // Delete
    case 28: s.character = 0xF702; break;   // Left
    case 29: s.character = 0xF703; break;   // Right
    case 30: s.character = 0xF700; break;   // Up
    case 31: s.character = 0xF701; break;   // Down
    case 8: s.character = 127; break;       // Backspace
    default:
      if (key >= 130 && key <= 139) {
        s.character = static_cast<std::uint16_t>('0' + (key - 130));
      } else if (key >= '0' && key <= '9') {
        s.keyCode = DigitKeyCodes[key - '0'];
      } else if (IsFunctionKey(key)) {
        s.keyCode = static_cast<std::uint16_t>(key - 0x100);
      }
      break;
  }
  return s;
}

bool LxShortcutMatches(const LxShortcut& shortcut, const KeyPress& press) {
  if (press.type != KeyEventType::KeyDown) return false;
  if (ShortcutModifiersOf(press.modifierFlags) != shortcut.modifiers) return false;
  if (shortcut.keyCode != 0) return press.keyCode == shortcut.keyCode;
  if (press.characters.size() != 1) return false;
  std::uint16_t c = press.characters[0];
  if (c == 3) c = 13;
  return c == shortcut.character;
}
