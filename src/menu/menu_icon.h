#pragma once

#include <cstdint>

// Whether the desktop shows its dark appearance now.
bool IsDarkMode();

// The image slot of a MenuIcon design for a light or dark bar; -1 for a value outside 0-3.
std::int64_t IconForMenuIcon(std::int64_t menuIcon, bool dark);

// Shows the MenuIcon setting's design for the current appearance on the status item; a value
// outside 0-3 shows the first-run design.
void ShowMenuIcon();

// The reaction to a change of the desktop's appearance: the status icon follows it.
void ApplyAppearance();
