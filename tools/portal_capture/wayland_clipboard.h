#pragma once

#include <string>
#include <string_view>

// Puts a PNG on the Wayland clipboard so that it stays there after this tool exits: wl-copy
// takes the bytes and leaves a child behind that serves them until another program takes the
// clipboard. Returns an error text, empty on success.
std::string handPngToWaylandClipboard(std::string_view png);
