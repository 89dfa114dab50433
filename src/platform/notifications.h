#pragma once

// Desktop notifications: short messages the desktop shows for a moment, outside any window of
// the program. Each replaces the program's previous one, so that a burst of captures does not
// stack a bubble per capture. Showing one never waits for the desktop.

#include <string>

struct Notification {
  std::string title;
  std::string body;
  // A picture file the notification shows a small copy of, or empty.
  std::string picture;
  // The file that clicking the notification shows in the file manager, or empty.
  std::string shows;
  // The picture file the notification offers to annotate or pin in the editor, or empty.
  std::string edits;
};

class Notifier {
 public:
  virtual ~Notifier() = default;
  virtual void Notify(const Notification& notification) = 0;
  // Whether a notification is still on its way to the desktop.
  virtual bool Sending() const { return false; }
};

void InstallNotifier(Notifier* notifier);
// Hands the notification to the installed notifier; without one it goes nowhere.
void ShowNotification(const Notification& notification);
bool NotificationsSending();
