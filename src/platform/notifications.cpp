#include "platform/notifications.h"

namespace {
Notifier* installed = nullptr;
}

void InstallNotifier(Notifier* notifier) {
  installed = notifier;
}

bool NotificationsSending() {
  return installed != nullptr && installed->Sending();
}

void ShowNotification(const Notification& notification) {
  if (installed != nullptr) installed->Notify(notification);
}
