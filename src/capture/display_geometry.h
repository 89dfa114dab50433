#pragma once

// Where displays lie and which one a point or a window is on. Displays are rectangles in one
// space with y growing downwards, listed as the desktop lists them (the main display first).
// Each question exists twice: over a given list, and over the desktop's displays now.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/toolkit.h"

// The desktop's displays now, in its order.
std::vector<DisplayRect> CurrentDisplays();

// The display holding `pointer`, edges included, tried from the last to the first; 0 when none
// holds it, -1 when there are no displays.
int PointerDisplayIndex(const std::vector<DisplayRect>& displays, Point pointer);
int PointerDisplayIndex();

// The first display, from index 0 up, holding `corner` (a window's top-left corner), edges
// included; -1 when none holds it.
int DisplayUnderWindow(const std::vector<DisplayRect>& displays, Point corner);
int DisplayUnderWindow(std::int64_t window);

// The display closest to `point` (the one holding it, when one does); -1 when there are none.
int NearestDisplayIndex(const std::vector<DisplayRect>& displays, Point point);

// The top-left corner that centres a window of the given size on the pointer's display, halves
// truncated toward zero; nothing when there are no displays.
std::optional<Point> CentreOnPointerDisplay(const std::vector<DisplayRect>& displays, Point pointer,
                                            int width, int height);
// Moves the window, size unchanged, to the middle of the display under the pointer.
void CentreOnPointerDisplay(std::int64_t window);
