#include "capture/countdown_window.h"

#include <string>
#include <vector>

#include "app/command_table.h"
#include "capture/display_choice.h"
#include "capture/display_geometry.h"
#include "platform/toolkit.h"
#include "shortcuts/shortcut_code.h"

std::int8_t CountdownCounter = 0;
bool CountdownCancelled = false;
std::map<std::string, std::int64_t> TimerTable;

namespace {

constexpr const char* CountdownTimerKey = "1";
constexpr int TickMs = 1000;

// Dark desktops get a light plate with dark digits, light ones the reverse (colours 0xBBGGRR).
constexpr std::int64_t White = 0xFFFFFF;
constexpr std::int64_t Black = 0x000000;

void OpenCountdownWindow() {
  const bool dark = IsDarkAppearance() != 0;
  NewWindow(CountdownWindow, IgnoreCoordinate, IgnoreCoordinate, CountdownPlateWidth,
            CountdownPlateHeight, "", WindowHidden | WindowCentred | WindowBorderless);
  SetWindowFloating(CountdownWindow, 1);
  CentreOnPointerDisplay(CountdownWindow);
  AddKeyboardShortcut(CountdownWindow, KeyEscape, EscapeItem);
  SetWindowBackground(CountdownWindow, dark ? White : Black, CountdownPlateRadius);
  SetWindowOpacity(CountdownWindow, dark ? 0.8 : 0.7);
  NewFont(CountdownFont, ".AppleSystemUIFont", 72);
  SetGadgetFont(DefaultFont, CountdownFont);
  // The label fills the plate: a 72-point line is taller than 72 on some desktops, and centred
  // in the whole plate the digits are never cut.
  NewTextGadget(CountdownLabel, 0, 0, CountdownPlateWidth, CountdownPlateHeight,
                std::to_string(CountdownCounter), TextCentred);
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

void CountdownTick(std::int64_t, void*) {
  SetGadgetText(CountdownLabel, std::to_string(CountdownCounter));
  const bool wasZero = CountdownCounter == 0;
  CountdownCounter = static_cast<std::int8_t>(static_cast<std::uint8_t>(CountdownCounter) - 1);
  if (!wasZero) return;
  QueueEvent(CountdownFinishedEvent, 0, 0, 0, PostCustom);
  RemoveCountdownTimer();
}

void RemoveCountdownTimer() {
  auto it = TimerTable.find(CountdownTimerKey);
  if (it == TimerTable.end()) return;
  RemoveTimer(it->second);
  TimerTable.erase(it);
}

bool RunCountdown(int seconds) {
  CountdownCounter = static_cast<std::int8_t>(seconds);
  CountdownCancelled = false;
  OpenCountdownWindow();

  // A timer left running by a cancelled countdown would count this one down too.
  RemoveCountdownTimer();
  if (const std::int64_t timer = AddTimer(TickMs, CountdownTick, nullptr); timer != 0) {
    TimerTable[CountdownTimerKey] = timer;
    // The first tick belongs to the start; the rest follow a second apart.
    CountdownTick(timer, nullptr);
  }

  std::vector<EventRecord> held;
  for (;;) {
    const std::int32_t kind = NextEvent();
    if (kind == MenuEvent && EventNumber() == EscapeItem &&
        EventWindowNumber() == CountdownWindow) {
      CountdownCancelled = true;
      break;
    }
    // Only the end of this count: an earlier, cancelled countdown may have posted one too.
    if (kind == CountdownFinishedEvent && CountdownCounter == -1) break;
    if (HoldOtherWindowEvent(held, kind, CountdownWindow)) {
      CountdownCancelled = true;
      break;
    }
  }

  CloseCountdownWindow();
  QueueHeldEvents(held);
  return !CountdownCancelled;
}
