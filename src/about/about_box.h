#pragma once

// The About box and the three web pages of the "More..." submenu.

#include <string>
#include <string_view>

// The bold first lines of the box: the product, its version, the machine it was built for.
std::string AboutMessage();
// The rest of the box's text, ending in the credit line.
inline constexpr std::string_view AboutText =
    "\nA simple screen capture tool\nmade with great angst\n\rby the Vantor Shot II developers\n";

// Shows the About box modally with every status-menu item disabled; its second button opens
// the projects page. Afterwards the items are as the menu's rules say.
void ShowAboutBox();
