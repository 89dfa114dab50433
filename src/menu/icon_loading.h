#pragma once

#include <cstdint>
#include <string>

// Reads an image file into a toolkit image slot, one pixel to one point. Returns the slot's
// platform image, or nullptr when the file cannot be read or has no pixels (the slot is then
// left empty).
void* LoadIconImage(std::int64_t slot, const std::string& path);

// Loads the menu-bar icons (slots 0-7) and the application icon (slot 8) from the resources
// folder in the resolution that suits the main display, and gives slots 0-7 their 18x18 point
// size.
void LoadMenuIcons(const std::string& resources);

// Loads the pictures shown beside the status-menu items, and the blank one that lines up the
// items without a picture.
void LoadMenuSymbols(const std::string& resources);
