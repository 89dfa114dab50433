#include "edit_history.h"

void recordChange(EditHistory& history) {
  history.done.push_back(history.now);
  history.undone.clear();
}

bool undoChange(EditHistory& history) {
  if (history.done.empty()) return false;
  history.undone.push_back(std::move(history.now));
  history.now = std::move(history.done.back());
  history.done.pop_back();
  return true;
}

bool redoChange(EditHistory& history) {
  if (history.undone.empty()) return false;
  history.done.push_back(std::move(history.now));
  history.now = std::move(history.undone.back());
  history.undone.pop_back();
  return true;
}
