#pragma once

// The display picker: a small floating window that the user drags onto the display to capture
// and confirms with its button.

#include <cstdint>
#include <optional>
#include <string>

inline constexpr std::int64_t PickerButton = 29;
inline constexpr std::int64_t PickerFont = 11;
// The menu item Return posts in the picker: it presses the button.
inline constexpr std::int64_t PickerReturnItem = 4001;

// Shows the picker and waits for the answer: the index of the chosen display, counted from 0,
// or nothing when the choice is cancelled (Escape, the close button, a request to quit) or
// there is no display to choose.
std::optional<int> PickDisplay();

// The button's title for a display index, counted from 0 as the button shows it.
std::string PickerButtonTitle(int displayIndex);
