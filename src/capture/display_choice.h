#pragma once

// The two questions an entire-screen capture may ask before the tool runs. Each shows a small
// window of its own and reads the event queue until it is answered; Escape cancels either.

#include <cstdint>
#include <vector>

#include "platform/event_record.h"

// The menu item that Escape posts in the picker and in the countdown window.
inline constexpr std::int64_t EscapeItem = 4000;

// Sets DisplayOption to " -D" and the 1-based number of the chosen display, or empties it when
// the choice is cancelled.
void ShowDisplayPicker();

// Counts the given number of seconds down on a plate over the pointer's display; true when the
// count ran to its end, false when it was cancelled.
bool RunCountdown(int seconds);

// What the two waits do with the events they do not act on. Those of another toolkit window
// (the Preferences window, say) are kept and queued again once the wait is over, so that a
// click there is neither lost nor mistaken for an answer; every other event is dropped.
// `kind` is the kind NextEvent gave for the current event. A request to quit is kept too, and
// the answer is true: the wait should end as if cancelled.
bool HoldOtherWindowEvent(std::vector<EventRecord>& held, std::int32_t kind,
                          std::int64_t ownWindow);
void QueueHeldEvents(const std::vector<EventRecord>& held);
