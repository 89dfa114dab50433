#pragma once

#include <xcb/xcb.h>

#include <optional>
#include <vector>

#include "frozen_screen.h"
#include "monitors.h"
#include "pick_outcome.h"

// Freezes the screen and shows it dimmed over everything; the user drags a rectangle, which is
// shown undimmed with its size, and a magnifier follows the pointer. After the drag the
// rectangle can still be adjusted: its handles resize it, a drag inside moves it, the arrow
// keys move it (Shift: by 10) and with Alt resize it; Space held while dragging moves it.
// Return, Space or a double click takes it; Escape or a right click cancels, and so does a click
// that drags nothing while there is no rectangle yet. `start`, when given, is shown adjustable
// from the beginning.
//
// The pointer and keyboard are held before the overlay maps. Without a compositor the overlay
// maps first, showing what was below it untouched, and the screen is frozen and dimmed right
// after, so the user never waits for the copy. `frozen` gets the screen to cut the picture from.
PickOutcome selectArea(xcb_connection_t* connection, xcb_screen_t* screen, bool composited,
                       const std::vector<ScreenRect>& displays, std::optional<ScreenRect> start,
                       std::optional<FrozenScreen>& frozen);
