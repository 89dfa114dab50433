#pragma once

// Whether the desktop is in its dark appearance: the GTK theme the desktop publishes (the
// GTK_THEME variable, then the user's GTK settings file), else the application palette.
bool DesktopIsDark();
