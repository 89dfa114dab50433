#pragma once

#include "platform/command_numbers.h"

// A request from the system to end the program (SIGTERM, SIGINT, SIGHUP at session end) is
// not obeyed on the spot: it becomes the Quit menu event so the ordinary quit runs.

// Installs the signal handlers; the returned descriptor becomes readable on a request.
int WatchTerminationRequests();
void StopWatchingTerminationRequests();
// Drains a pending request and posts the quit event for it; false when there was none.
bool TakeTerminationRequest();
