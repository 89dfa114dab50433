#pragma once

// The two forms of a keyboard shortcut. The shortcut code is what the entry field holds and what
// window shortcuts bind: a key in the low 16 bits and modifier bits above. The shortcut text is
// what the field shows and the settings store: modifier symbols "⌃⌥⇧⌘" in that order, then the
// key ("⌥⌘F", "⇧⌘3", "⌘Space").

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/key_codes.h"

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
    {KeyBackspace, u'\u232B', ""},   {KeyTab, 0, "Tab"},
    {KeyReturn, u'\u21A9', ""},      {KeyEscape, u'\u238B', ""},
    {KeySpace, 0, "Space"},          {KeyPageUp, u'\u21DE', ""},
    {KeyPageDown, u'\u21DF', ""},    {KeyEnd, u'\u2198', ""},
    {KeyHome, u'\u2196', ""},        {KeyLeft, u'\u2190', ""},
    {KeyUp, u'\u2191', ""},          {KeyRight, u'\u2192', ""},
    {KeyDown, u'\u2193', ""},        {KeyInsert, 0, "Insert"},
    {KeyDelete, u'\u2326', ""},      {FunctionKeyCode(1), 0, "F1"},
    {FunctionKeyCode(2), 0, "F2"},   {FunctionKeyCode(3), 0, "F3"},
    {FunctionKeyCode(4), 0, "F4"},   {FunctionKeyCode(5), 0, "F5"},
    {FunctionKeyCode(6), 0, "F6"},   {FunctionKeyCode(7), 0, "F7"},
    {FunctionKeyCode(8), 0, "F8"},   {FunctionKeyCode(9), 0, "F9"},
    {FunctionKeyCode(10), 0, "F10"}, {FunctionKeyCode(11), 0, "F11"},
    {FunctionKeyCode(12), 0, "F12"},
}};

// What a key code shows in a shortcut text: a letter upper-cased, another printable character
// as itself, a special key's symbol or name; empty for a key without text.
std::u16string KeyTextOf(std::uint32_t keyCode);

// The shortcut text of a code; 0 gives the empty text.
std::string ShortcutTextFromCode(std::uint32_t code);

// The code of a shortcut text, its modifier symbols in any order; 0 when the rest is not the
// text of one key.
std::uint32_t ShortcutCodeFromText(std::string_view text);
