#include "capture/display_choice.h"

#include "platform/toolkit.h"

void HoldOtherWindowEvent(std::vector<EventRecord>& held, std::int32_t kind,
                          std::int64_t ownWindow) {
  const std::int64_t window = EventWindowNumber();
  // Status-menu choices (window 0), hot keys and the application's own kinds name no window.
  if (kind < MenuEvent || kind >= FirstCustomEvent || window <= 0 || window == ownWindow) return;
  EventRecord record;
  record.Event = kind;
  record.Object = EventNumber();
  record.Window = window;
  record.Type = EventSubtype();
  held.push_back(record);
}

void QueueHeldEvents(const std::vector<EventRecord>& held) {
  for (const EventRecord& record : held) {
    QueueEvent(record.Event, record.Object, record.Window, record.Type, record.Flags);
  }
}
