#include "quit_requests.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>

namespace {

constexpr int Watched[] = {SIGTERM, SIGINT, SIGHUP};
int writeEnd = -1;

void note(int signal) {
  const char number = static_cast<char>(signal);
  [[maybe_unused]] const ssize_t written = ::write(writeEnd, &number, 1);
}

}  // namespace

QuitRequests::QuitRequests() {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return;
  read_ = ends[0];
  writeEnd = ends[1];
  struct sigaction action {};
  action.sa_handler = note;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : Watched) sigaction(signal, &action, nullptr);
}

QuitRequests::~QuitRequests() {
  if (const int pending = finish(); pending != 0) endAsSignalled(pending);
}

int QuitRequests::finish() {
  if (read_ < 0) return 0;
  for (int signal : Watched) ::signal(signal, SIG_DFL);
  const int pending = take();
  ::close(read_);
  ::close(writeEnd);
  read_ = writeEnd = -1;
  return pending;
}

int QuitRequests::take() {
  char number = 0;
  return read_ >= 0 && ::read(read_, &number, 1) == 1 ? number : 0;
}

void endAsSignalled(int signal) {
  ::signal(signal, SIG_DFL);
  ::raise(signal);
  std::_Exit(128 + signal);
}
