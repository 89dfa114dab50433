#pragma once

// Every encoding of keys and modifiers the program meets, in one place. Keys are named by
// virtual key codes (a key's position on the keyboard, the same on every layout); a shortcut
// code holds a key and its modifiers in one word. Modifiers come in three encodings, one for
// each place that speaks them: key events and menu key equivalents, shortcut codes, and the
// desktop's hot-key registrations.

#include <array>
#include <cstdint>

// Modifier flags of a key event, also the modifier mask of a menu item's key equivalent.
inline constexpr std::uint32_t ModifierShift = 0x20000;
inline constexpr std::uint32_t ModifierControl = 0x40000;
inline constexpr std::uint32_t ModifierOption = 0x80000;
inline constexpr std::uint32_t ModifierCommand = 0x100000;

// Modifier bits of a shortcut code: the event flags one bit lower.
inline constexpr std::uint32_t ShortcutShift = 0x10000;
inline constexpr std::uint32_t ShortcutControl = 0x20000;
inline constexpr std::uint32_t ShortcutOption = 0x40000;
inline constexpr std::uint32_t ShortcutCommand = 0x80000;
inline constexpr std::uint32_t ShortcutModifierMask = 0xF0000;
inline constexpr std::uint32_t ShortcutKeyMask = 0xFFFF;

constexpr std::uint32_t ShortcutModifiersOf(std::uint32_t eventFlags) {
  return (eventFlags >> 1) & ShortcutModifierMask;
}

// The modifier word of a hot-key registration.
inline constexpr std::uint32_t HotkeyCommand = 0x100;
inline constexpr std::uint32_t HotkeyShift = 0x200;
inline constexpr std::uint32_t HotkeyOption = 0x800;
inline constexpr std::uint32_t HotkeyControl = 0x1000;

// Keys of a shortcut code that have no printable character (printable keys are their
// lower-case character).
inline constexpr std::uint32_t KeyHome = 1;
inline constexpr std::uint32_t KeyEnd = 4;
inline constexpr std::uint32_t KeyInsert = 5;
inline constexpr std::uint32_t KeyBackspace = 8;
inline constexpr std::uint32_t KeyTab = 9;
inline constexpr std::uint32_t KeyPageUp = 11;
inline constexpr std::uint32_t KeyPageDown = 12;
inline constexpr std::uint32_t KeyReturn = 13;
inline constexpr std::uint32_t KeyEscape = 27;
inline constexpr std::uint32_t KeyLeft = 28;
inline constexpr std::uint32_t KeyRight = 29;
inline constexpr std::uint32_t KeyUp = 30;
inline constexpr std::uint32_t KeyDown = 31;
inline constexpr std::uint32_t KeySpace = 32;
inline constexpr std::uint32_t KeyDelete = 127;
// Keypad digits 0 to 9.
inline constexpr std::uint32_t KeyKeypad0 = 130;
inline constexpr std::uint32_t KeyKeypad9 = 139;
// F1 to F12: FunctionKeyBase plus the key's virtual key code.
inline constexpr std::uint32_t FunctionKeyBase = 0x100;

// Virtual key codes of the keys the shortcut field and the window shortcuts take by position.
inline constexpr std::uint16_t VirtualReturn = 36;
inline constexpr std::uint16_t VirtualTab = 48;
inline constexpr std::uint16_t VirtualSpace = 49;
inline constexpr std::uint16_t VirtualBackspace = 51;
inline constexpr std::uint16_t VirtualEscape = 53;
inline constexpr std::uint16_t VirtualHome = 115;
inline constexpr std::uint16_t VirtualPageUp = 116;
inline constexpr std::uint16_t VirtualEnd = 119;
inline constexpr std::uint16_t VirtualPageDown = 121;
inline constexpr std::uint16_t VirtualLeft = 123;
inline constexpr std::uint16_t VirtualRight = 124;
inline constexpr std::uint16_t VirtualDown = 125;
inline constexpr std::uint16_t VirtualUp = 126;
// The main-row digit keys "0" to "9".
inline constexpr std::array<std::uint16_t, 10> VirtualDigits = {29, 18, 19, 20, 21,
                                                                23, 22, 26, 28, 25};
// F1 to F12.
inline constexpr std::array<std::uint16_t, 12> VirtualFunctionKeys = {122, 120, 99,  118, 96,  97,
                                                                      98,  100, 101, 109, 103, 111};

// The shortcut-code key of F1 to F12, by number from 1; 0 outside.
constexpr std::uint32_t FunctionKeyCode(int number) {
  if (number < 1 || number > 12) return 0;
  return FunctionKeyBase + VirtualFunctionKeys[static_cast<std::size_t>(number - 1)];
}

// 1 to 12 when the shortcut-code key is F1 to F12, else 0.
constexpr int FunctionKeyNumber(std::uint32_t key) {
  for (std::size_t i = 0; i < VirtualFunctionKeys.size(); ++i) {
    if (key == FunctionKeyBase + VirtualFunctionKeys[i]) return static_cast<int>(i) + 1;
  }
  return 0;
}

// Characters a key event carries for keys without a printable one (the desktop's
// function-key characters), and the two control characters keys give.
inline constexpr char16_t CharacterUp = 0xF700;
inline constexpr char16_t CharacterDown = 0xF701;
inline constexpr char16_t CharacterLeft = 0xF702;
inline constexpr char16_t CharacterRight = 0xF703;
inline constexpr char16_t CharacterF1 = 0xF704;
inline constexpr char16_t CharacterInsert = 0xF727;
inline constexpr char16_t CharacterDelete = 0xF728;
inline constexpr char16_t CharacterHome = 0xF729;
inline constexpr char16_t CharacterEnd = 0xF72B;
inline constexpr char16_t CharacterPageUp = 0xF72C;
inline constexpr char16_t CharacterPageDown = 0xF72D;
inline constexpr char16_t CharacterEnter = 3;     // keypad Enter
inline constexpr char16_t CharacterBackTab = 25;  // Tab with Shift
inline constexpr char16_t CharacterBackspace = 127;
