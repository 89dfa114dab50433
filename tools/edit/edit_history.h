#pragma once

#include <vector>

#include "annotation.h"

// The picture being edited with every earlier and undone state. States share their pixels
// (QImage is shared until written), so keeping all of them costs little but the items.
struct EditHistory {
  Picture now;
  std::vector<Picture> undone;
  std::vector<Picture> done;
};

// Call before changing `now`: the state as it is becomes the one Undo returns to.
void recordChange(EditHistory& history);
bool undoChange(EditHistory& history);
bool redoChange(EditHistory& history);
