#include "capture/display_choice.h"

#include <string>

#include "app/command_table.h"
#include "capture/capture_engine.h"
#include "platform/toolkit.h"

namespace {

bool Holds(const DisplayRect& display, Point point) {
  return point.x >= display.x && point.x <= display.x + display.width && point.y >= display.y &&
         point.y <= display.y + display.height;
}

// The display under the pointer, tested from the last to the first; the first when none is.
int PointerDisplay() {
  const Point pointer = PointerLocation();
  for (int index = DisplayCount() - 1; index >= 0; --index) {
    if (Holds(DisplayGeometry(index), pointer)) return index;
  }
  return 0;
}

struct Countdown {
  int remaining = 0;
  bool finished = false;
};

void CountdownTick(std::int64_t, void* context) {
  auto& countdown = *static_cast<Countdown*>(context);
  if (countdown.finished || --countdown.remaining > 0) return;
  countdown.finished = true;
  QueueEvent(CountdownFinishedEvent, 0, 0, 0, PostCustom);
}

}  // namespace

void ShowDisplayPicker() {
  DisplayOption = " -D" + std::to_string(PointerDisplay() + 1);
}

bool RunCountdown(int seconds) {
  Countdown countdown{seconds, false};
  const std::int64_t timer = AddTimer(1000, CountdownTick, &countdown);
  // Without a timer nothing would ever end the wait.
  if (timer == 0) return true;
  // Every other event that arrives meanwhile is taken and dropped, as in any nested wait.
  while (NextEvent() != CountdownFinishedEvent) {
  }
  RemoveTimer(timer);
  return true;
}
