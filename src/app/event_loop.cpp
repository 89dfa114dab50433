#include "app/event_loop.h"

#include "app/dispatch.h"
#include "platform/toolkit.h"

void RunEventLoop() {
  for (;;) {
    const std::int32_t kind = NextEvent();
    if (kind <= 0) continue;
    const CommandRequest request =
        CommandForEvent(kind, EventNumber(), EventWindowNumber(), EventSubtype());
    if (!RunCommand(request)) return;
  }
}
