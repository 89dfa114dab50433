#pragma once

// The display picker: a small floating window that the user drags onto the display to capture
// and confirms with its button. ShowDisplayPicker is declared in capture/display_choice.h.

#include <cstdint>
#include <string>

inline constexpr std::int64_t PickerWindow = 3;
inline constexpr std::int64_t PickerButton = 29;
inline constexpr std::int64_t PickerFont = 11;
// The menu item Return posts in the picker: it presses the button.
inline constexpr std::int64_t PickerReturnItem = 4001;

// The display the picker stands for: the one under its top-left corner, or, when the corner
// lies on none (dragged past the desktop's edge), the nearest one; -1 without displays.
int PickedDisplayIndex();

// The button's title for a display index, counted from 0 as the button shows it.
std::string PickerButtonTitle(int displayIndex);
