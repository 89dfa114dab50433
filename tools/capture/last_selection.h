#pragma once

#include <optional>
#include <string>

#include "screen_rect.h"

// The last selection taken, kept in the user's state folder ($XDG_STATE_HOME/vantorshot/, by
// default ~/.local/state/vantorshot/) so that -R can start from it.

// Empty when there is none, it cannot be read, or it does not lie wholly inside `screen`.
std::optional<ScreenRect> loadLastSelection(ScreenRect screen);

// Replaces the stored one in one step: a reader sees the old or the new one, never a mix.
// Returns why it could not, or empty.
std::string saveLastSelection(ScreenRect selection);
