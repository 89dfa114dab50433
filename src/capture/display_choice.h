#pragma once

// The two questions an entire-screen capture may ask before the tool runs.

// Sets DisplayOption to " -D" and the 1-based number of the chosen display, or empties it when
// the choice is cancelled.
void ShowDisplayPicker();

// Waits the given number of seconds while reading the event queue; true when the wait ran to
// its end, false when it was cancelled.
bool RunCountdown(int seconds);
