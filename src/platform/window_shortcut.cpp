#include "platform/window_shortcut.h"

namespace {

std::uint16_t ShiftedCharacter(std::uint16_t c) {
  switch (c) {
    case KeyTab: return CharacterBackTab;
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

LxShortcut MakeLxShortcut(std::uint32_t code, std::int64_t item) {
  LxShortcut s;
  s.Key = code;
  s.modifiers = code & ShortcutModifierMask;
  s.EventMenuID = item;
  s.character = static_cast<std::uint16_t>(code & ShortcutKeyMask);
  // Key events report their characters with Shift applied, also beside other modifiers.
  if (s.modifiers & ShortcutShift) s.character = ShiftedCharacter(s.character);

  const std::uint32_t key = code & ShortcutKeyMask;
  switch (key) {
    case KeyHome: s.character = CharacterHome; break;
    case KeyEnd: s.character = CharacterEnd; break;
    case KeyInsert: s.character = CharacterInsert; break;
    case KeyPageUp: s.character = CharacterPageUp; break;
    case KeyPageDown: s.character = CharacterPageDown; break;
    case KeyDelete: s.character = CharacterDelete; break;
    case KeyLeft: s.character = CharacterLeft; break;
    case KeyRight: s.character = CharacterRight; break;
    case KeyUp: s.character = CharacterUp; break;
    case KeyDown: s.character = CharacterDown; break;
    case KeyBackspace: s.character = CharacterBackspace; break;
    default:
      if (key >= KeyKeypad0 && key <= KeyKeypad9) {
        s.character = static_cast<std::uint16_t>('0' + (key - KeyKeypad0));
      } else if (key >= '0' && key <= '9') {
        s.keyCode = VirtualDigits[key - '0'];
      } else if (FunctionKeyNumber(key) != 0) {
        s.keyCode = static_cast<std::uint16_t>(key - FunctionKeyBase);
      }
      break;
  }
  return s;
}

bool WindowShortcutMatches(const LxShortcut& shortcut, const KeyPress& press) {
  // Only a key pressed while the window is shown counts: one held since before (the Return that
  // chose the menu item opening the window) reaches it as repeats alone.
  if (press.type != KeyEventType::KeyDown || press.repeated) return false;
  if (ShortcutModifiersOf(press.modifierFlags) != shortcut.modifiers) return false;
  if (shortcut.keyCode != 0) return press.keyCode == shortcut.keyCode;
  if (press.characters.size() != 1) return false;
  std::uint16_t c = press.characters[0];
  // Keypad Enter stands for Return.
  if (c == CharacterEnter) c = KeyReturn;
  return c == shortcut.character;
}
