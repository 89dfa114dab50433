#pragma once

#include <string>

// The camera-shutter sound of the freedesktop sound theme, if a player for it is installed;
// otherwise nothing. Does not wait for the sound to end.
void playShutterSound();

// Opens `path` in the user's image viewer through xdg-open. False if xdg-open did not start.
bool openInViewer(const std::string& path);
