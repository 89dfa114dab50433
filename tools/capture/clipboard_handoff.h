#pragma once

#include <xcb/xcb.h>

#include <string>
#include <string_view>

// Puts a PNG on the CLIPBOARD selection so that it stays there after this tool exits.
// xclip takes the bytes and forks a child that keeps answering requests for them (including the
// incremental transfers that large images need) until another program takes the clipboard.
// Returns an error text, empty on success.
std::string handPngToClipboard(xcb_connection_t* connection, std::string_view png);
