#include "platform/hotkey_service.h"

namespace {
HotkeyService* installed = nullptr;
}

void InstallHotkeyService(HotkeyService* service) {
  installed = service;
}
HotkeyService* InstalledHotkeyService() {
  return installed;
}
