#pragma once

// The two forms of a keyboard shortcut. The shortcut code is what the entry field holds and what
// window shortcuts bind: a key in the low 16 bits and modifier bits above. The shortcut text is
// what the field shows and the settings store: modifier symbols "⌃⌥⇧⌘" in that order, then the
// key ("⌥⌘F", "⇧⌘3", "⌘Space").

#include <array>
#include <cstdint>
#include <string>

#include "platform/lx_shortcut.h"

inline constexpr std::uint32_t ShortcutShift = 0x10000;
inline constexpr std::uint32_t ShortcutControl = 0x20000;
inline constexpr std::uint32_t ShortcutOption = 0x40000;
inline constexpr std::uint32_t ShortcutCommand = 0x80000;
inline constexpr std::uint32_t ShortcutKeyMask = 0xFFFF;

// Key codes of keys that are not printable characters.
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

// The modifier symbols of a shortcut text.
inline constexpr char16_t ControlSymbol = u'\u2303';
inline constexpr char16_t OptionSymbol = u'\u2325';
inline constexpr char16_t ShiftSymbol = u'\u21E7';
inline constexpr char16_t CommandSymbol = u'\u2318';

struct SpecialKeyRow {
  std::uint32_t keyCode;
  char16_t symbol;   // 0 if none
  const char* name;  // empty if none
};

// A row shows its symbol when its bit (bit n for row n) is set in SpecialKeyDisplayMask,
// otherwise its name.
inline constexpr std::uint32_t SpecialKeyDisplayMask = 0x5FED;
inline constexpr std::array<SpecialKeyRow, 27> SpecialKeyTable = {{
    {KeyBackspace, u'\u232B', ""},
    {KeyTab, 0, "Tab"},
    {KeyReturn, u'\u21A9', ""},
    {KeyEscape, u'\u238B', ""},
    {KeySpace, 0, "Space"},
    {KeyPageUp, u'\u21DE', ""},
    {KeyPageDown, u'\u21DF', ""},
    {KeyEnd, u'\u2198', ""},
    {KeyHome, u'\u2196', ""},
    {KeyLeft, u'\u2190', ""},
    {KeyUp, u'\u2191', ""},
    {KeyRight, u'\u2192', ""},
    {KeyDown, u'\u2193', ""},
    {KeyInsert, 0, "Insert"},
    {KeyDelete, u'\u2326', ""},
    {0x17A, 0, "F1"},
    {0x178, 0, "F2"},
    {0x163, 0, "F3"},
    {0x176, 0, "F4"},
    {0x160, 0, "F5"},
    {0x161, 0, "F6"},
    {0x162, 0, "F7"},
    {0x164, 0, "F8"},
    {0x165, 0, "F9"},
    {0x16D, 0, "F10"},
    {0x167, 0, "F11"},
    {0x16F, 0, "F12"},
}};

// What a key code shows in a shortcut text: a letter upper-cased, another printable character
// as itself, a special key's symbol or name; empty for a key without text.
std::u16string KeyTextOf(std::uint32_t keyCode);

// The shortcut text of a code; 0 gives the empty text.
std::string ShortcutTextFromCode(std::uint32_t code);
