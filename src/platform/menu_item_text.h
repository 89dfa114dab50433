#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/key_codes.h"

// A menu item text split into what the menu shows: "Quit\tCmd+Q" is the title "Quit" with the
// key equivalent "q" and Command. Hint words are read whole and in any case: "F1" to "F12" give
// U+F704 to U+F70F; "Plus" "+", "Ampersand" "&", "Space" " ", "Tab" U+0009, "Return" U+000D,
// "Esc" U+001B, "Backspace" U+0008; "Delete" U+F728, "Insert" U+F727, "Home" U+F729, "End"
// U+F72B, "PgUp" U+F72C, "PgDown" U+F72D, "Up" U+F700, "Down" U+F701, "Left" U+F702, "Right"
// U+F703 (the desktop's function-key characters). Any other word gives itself in lower case.
struct MenuItemText {
  std::string title;
  std::u16string keyEquivalent;
  std::uint32_t modifierMask = 0;  // Modifier* flags
};

MenuItemText ReadMenuItemText(std::string_view text);
