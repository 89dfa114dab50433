#pragma once

// The hint a menu item shows for its shortcut, in the form menu item texts carry after a TAB:
// modifier words in the order of the text's symbols, then the key, joined by "+"
// ("⇧⌘A" gives "Shift+Cmd+A"). Keys that would not survive that form get whole-word names:
// "Plus", "Ampersand", and for the special-key symbols "Backspace", "Return", "Esc", "PgUp",
// "PgDown", "End", "Home", "Left", "Up", "Right", "Down" and "Delete"; named keys ("Tab",
// "Space", "Insert", "F1" to "F12") stay one word.

#include <string>
#include <string_view>

std::string MenuHintFromShortcut(std::string_view text);
