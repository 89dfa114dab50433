#include "app/one_capture.h"

#include <chrono>

#include "capture/capture_engine.h"
#include "platform/host.h"
#include "platform/notifications.h"
#include "platform/toolkit.h"
#include "settings/settings_store.h"

namespace {

// The notification of the capture goes out before the program ends, unless the desktop takes
// too long to answer.
void LetNotificationsGo() {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (NotificationsSending() && std::chrono::steady_clock::now() < giveUp) NextEvent(50);
}

}  // namespace

int RunOneCapture(std::string_view command) {
  Host* host = InstalledHost();
  if (host == nullptr || !host->Supported()) return 2;
  OpenSettingsStore();
  const std::int8_t kind = command == "capture screen"   ? CaptureEntireScreen
                           : command == "capture window" ? CaptureWindow
                                                         : CaptureSelection;
  const CaptureResult result = RunCapture(kind);
  CloseSettingsStore();
  LetNotificationsGo();
  switch (result) {
    case CaptureResult::Saved: return 0;
    case CaptureResult::Cancelled: return 1;
    case CaptureResult::Failed: return 2;
  }
  return 2;
}
