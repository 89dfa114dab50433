#include "platform/termination_request.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "platform/toolkit.h"

namespace {

int pipeFds[2] = {-1, -1};
constexpr int WatchedSignals[] = {SIGTERM, SIGINT, SIGHUP};

void OnSignal(int) {
  const int saved = errno;
  const char byte = 1;
  // Non-blocking: a full pipe already holds a request.
  [[maybe_unused]] ssize_t written = write(pipeFds[1], &byte, 1);
  errno = saved;
}

}  // namespace

int WatchTerminationRequests() {
  if (pipeFds[0] >= 0) return pipeFds[0];
  if (pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : WatchedSignals) sigaction(signal, &action, nullptr);
  return pipeFds[0];
}

void StopWatchingTerminationRequests() {
  if (pipeFds[0] < 0) return;
  for (int s : WatchedSignals) signal(s, SIG_DFL);
  close(pipeFds[0]);
  close(pipeFds[1]);
  pipeFds[0] = pipeFds[1] = -1;
}

int TerminationRequestDescriptor() {
  return pipeFds[0];
}

void RequestTermination() {
  if (pipeFds[1] >= 0) OnSignal(0);
}

bool TerminationRequestPending() {
  if (pipeFds[0] < 0) return false;
  pollfd ready{pipeFds[0], POLLIN, 0};
  return poll(&ready, 1, 0) > 0;
}

bool TakeTerminationRequest() {
  if (pipeFds[0] < 0) return false;
  char buffer[16];
  bool requested = false;
  while (read(pipeFds[0], buffer, sizeof buffer) > 0) requested = true;
  if (requested) {
    QueueEvent(MenuEvent, QuitMenuNumber, ApplicationMenuWindow, 0, PostWhileSuspended | PostWake);
  }
  return requested;
}
