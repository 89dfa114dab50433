#pragma once

// Keys already held down when a window of the program is shown. Their presses there are the
// system's repeats of a key pressed elsewhere (the Return that chose the menu item opening the
// window), so they must not act; a key counts again once it has really been let go. Only X11
// can say which keys are down: elsewhere a held key's repeats are marked as such by Qt.

#include <QtGlobal>

// Takes note of the keys down now, replacing what was noted before.
void NoteKeysHeldNow();
// Whether a press of the key (its X key code) is of a key held since the last note.
bool KeyHeldSinceShown(quint32 scanCode);
// A release of the key: it counts again when the display says it is up.
void NoteKeyReleased(quint32 scanCode);
