#pragma once

#include <QImage>

#include <string>

// Puts the picture on the clipboard as PNG so that it stays there after the editor exits:
// wl-copy on Wayland (`wayland`), xclip on X11, each serving it from a child of its own. An error
// text, or empty.
std::string copyPictureToClipboard(const QImage& image, bool wayland);
