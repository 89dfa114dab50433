#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Key-equivalent modifier mask bits of a menu item.
inline constexpr std::uint32_t MenuModifierShift = 0x20000;
inline constexpr std::uint32_t MenuModifierControl = 0x40000;
inline constexpr std::uint32_t MenuModifierOption = 0x80000;
inline constexpr std::uint32_t MenuModifierCommand = 0x100000;

// A menu item text split into what the menu shows: "Quit\tCmd+Q" is the title "Quit" with the
// key equivalent "q" and Command. F1 to F12 become the characters U+F704 to U+F70F.
struct MenuItemText {
  std::string title;
  std::u16string keyEquivalent;
  std::uint32_t modifierMask = 0;
};

MenuItemText ReadMenuItemText(std::string_view text);
