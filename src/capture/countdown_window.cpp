#include "capture/countdown_window.h"

#include <string>
#include <vector>

#include "capture/display_geometry.h"
#include "capture/modal_wait.h"
#include "platform/command_numbers.h"
#include "platform/key_codes.h"
#include "platform/toolkit.h"

namespace {

constexpr int TickMs = 1000;

// Dark desktops get a light plate with dark digits, light ones the reverse (colours 0xBBGGRR).
constexpr std::int64_t White = 0xFFFFFF;
constexpr std::int64_t Black = 0x000000;

// The number the next tick shows; it passes below 0 on the tick that ends the count.
int counter = 0;
std::int64_t timer = 0;

void StopTimer() {
  RemoveTimer(timer);
  timer = 0;
}

void Tick(std::int64_t, void*) {
  SetGadgetText(CountdownLabel, std::to_string(counter));
  if (counter-- > 0) return;
  StopTimer();
  QueueEvent(CountdownFinishedEvent, 0, 0, 0, PostCustom);
}

void OpenCountdownWindow() {
  const bool dark = IsDarkAppearance() != 0;
  NewWindow(CountdownWindow, IgnoreCoordinate, IgnoreCoordinate, CountdownPlateWidth,
            CountdownPlateHeight, "", WindowHidden | WindowCentred | WindowBorderless);
  SetWindowFloating(CountdownWindow, 1);
  CentreOnPointerDisplay(CountdownWindow);
  AddKeyboardShortcut(CountdownWindow, KeyEscape, EscapeItem);
  SetWindowBackground(CountdownWindow, dark ? White : Black, CountdownPlateRadius);
  SetWindowOpacity(CountdownWindow, dark ? 0.8 : 0.7);
  NewFont(CountdownFont, SystemFontFamily, 72);
  SetGadgetFont(DefaultFont, CountdownFont);
  // The label fills the plate: a 72-point line is taller than 72 on some desktops, and centred
  // in the whole plate the digits are never cut.
  NewTextGadget(CountdownLabel, 0, 0, CountdownPlateWidth, CountdownPlateHeight,
                std::to_string(counter), TextCentred);
  SetGadgetColor(CountdownLabel, ColorFront, dark ? Black : White);
  // Activating its only gadget shows the finished plate and gives it the keyboard for Escape.
  SetActiveGadget(CountdownLabel);
}

void CloseCountdownWindow() {
  ReleaseFont(CountdownFont);
  RemoveKeyboardShortcut(CountdownWindow, KeyEscape);
  DestroyWindow(CountdownWindow);
}

}  // namespace

bool RunCountdown(int seconds) {
  counter = seconds;
  OpenCountdownWindow();
  timer = AddTimer(TickMs, Tick, nullptr);
  // The first tick belongs to the start; the rest follow a second apart.
  if (timer != 0) Tick(timer, nullptr);

  bool finished = false;
  std::vector<EventRecord> held;
  for (;;) {
    const std::int32_t kind = NextEvent();
    if (kind == MenuEvent && EventNumber() == EscapeItem &&
        EventWindowNumber() == CountdownWindow) {
      break;
    }
    // Only the end of this count: a cancelled one may have left its end in the queue.
    if (kind == CountdownFinishedEvent && counter < 0) {
      finished = true;
      break;
    }
    if (HoldOtherWindowEvent(held, kind, CountdownWindow)) break;
  }

  StopTimer();
  CloseCountdownWindow();
  QueueHeldEvents(held);
  return finished;
}
