#pragma once

#include "platform/command_numbers.h"

// A request from the system to end the program (SIGTERM, SIGINT, SIGHUP at session end) is
// not obeyed on the spot: it becomes the Quit menu event so the ordinary quit runs.

// Installs the signal handlers; the returned descriptor becomes readable on a request.
int WatchTerminationRequests();
void StopWatchingTerminationRequests();
// The descriptor that is readable while a request waits to be taken; -1 when not watching.
int TerminationRequestDescriptor();
// Asks for the quit as a signal would (for a quit that comes from elsewhere).
void RequestTermination();
// Whether a request waits to be taken; it is left there.
bool TerminationRequestPending();
// Drains a pending request and posts the quit event for it; false when there was none.
bool TakeTerminationRequest();
