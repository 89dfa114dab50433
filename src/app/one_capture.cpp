#include "app/one_capture.h"

#include <chrono>

#include "app/capture_report.h"
#include "capture/capture_engine.h"
#include "platform/host.h"
#include "platform/notifications.h"
#include "platform/single_instance.h"
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
  if (host == nullptr || !host->Supported()) {
    return TellCaptureEnd({CaptureResult::Failed, {}, "no display to capture"});
  }
  // One capture at a time in a session, as in the running copy.
  const SingleInstanceLock underway("-capture");
  if (underway.Status() == SingleInstanceLock::State::HeldElsewhere) return TellCaptureBusy();
  OpenSettingsStore();
  const std::int8_t kind = command == "capture screen"   ? CaptureEntireScreen
                           : command == "capture window" ? CaptureWindow
                                                         : CaptureSelection;
  const CaptureEnd end = RunCapture(kind);
  CloseSettingsStore();
  LetNotificationsGo();
  return TellCaptureEnd(end);
}
