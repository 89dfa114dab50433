#pragma once

// SIGTERM, SIGINT and SIGHUP while the portal is waited for are not obeyed on the spot: the
// request is withdrawn first, and the portal's picture removed should it come after all.

// While one exists, those signals become readable on descriptor(). Its end restores their
// default actions, and a signal that came and was not taken is obeyed then.
class QuitRequests {
 public:
  QuitRequests();
  ~QuitRequests();
  QuitRequests(const QuitRequests&) = delete;
  QuitRequests& operator=(const QuitRequests&) = delete;

  int descriptor() const { return read_; }
  // The signal that came, 0 when none did.
  int take();
  // Restores the default actions at once and gives the signal that came meanwhile, 0 when none
  // did (which this one then no longer obeys).
  int finish();

 private:
  int read_ = -1;
};

// Ends the process as `signal` would have ended it.
[[noreturn]] void endAsSignalled(int signal);
