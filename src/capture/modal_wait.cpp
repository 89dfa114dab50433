#include "capture/modal_wait.h"

#include "platform/command_numbers.h"
#include "platform/toolkit.h"

bool HoldOtherWindowEvent(std::vector<EventRecord>& held, std::int32_t kind,
                          std::int64_t ownWindow) {
  const std::int64_t window = EventWindowNumber();
  // A request to quit (the session ending, SIGTERM) must outlive the little window's loop.
  const bool quit = kind == MenuEvent && EventNumber() == QuitMenuNumber;
  // Status-menu choices (window 0), hot keys and the application's own kinds name no window.
  if (!quit &&
      (kind < MenuEvent || kind >= FirstCustomEvent || window <= 0 || window == ownWindow)) {
    return false;
  }
  EventRecord record;
  record.Event = kind;
  record.Object = EventNumber();
  record.Window = window;
  record.Type = EventSubtype();
  held.push_back(record);
  return quit;
}

void QueueHeldEvents(const std::vector<EventRecord>& held) {
  for (const EventRecord& record : held) {
    QueueEvent(record.Event, record.Object, record.Window, record.Type, record.Flags);
  }
}
