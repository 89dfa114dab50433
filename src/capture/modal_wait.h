#pragma once

// What the countdown and the display picker do while they wait for their answer: each shows a
// small window of its own and reads the event queue until it is answered; Escape cancels.

#include <cstdint>
#include <vector>

#include "platform/event_record.h"

// The menu item that Escape posts in the picker and in the countdown window.
inline constexpr std::int64_t EscapeItem = 4000;

// The events a wait does not act on. Those of another toolkit window (the Preferences window,
// say) are kept and queued again once the wait is over, so that a click there is neither lost
// nor mistaken for an answer; every other event is dropped. `kind` is the kind NextEvent gave
// for the current event. A request to quit is kept too, and the answer is true: the wait
// should end as if cancelled.
bool HoldOtherWindowEvent(std::vector<EventRecord>& held, std::int32_t kind,
                          std::int64_t ownWindow);
void QueueHeldEvents(const std::vector<EventRecord>& held);
