#include "platform/notifications.h"

namespace {
Notifier* installed = nullptr;
}

void InstallNotifier(Notifier* notifier) {
  installed = notifier;
}

void ShowNotification(const Notification& notification) {
  if (installed != nullptr) installed->Notify(notification);
}
