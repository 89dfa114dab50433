#pragma once

// The gadgets of the Preferences window in their places, with their texts and tooltips.

#include <string>

// Creates every gadget of the window, in order, in the current window with the current default
// font. `resources` is where the help icon's own drawing lies, for desktops whose icon theme
// has no question-mark icon.
void AddPreferencesGadgets(const std::string& resources);
