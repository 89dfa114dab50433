#include "shortcuts/hotkey_list.h"

#include "platform/event_record.h"
#include "platform/toolkit.h"

bool HotkeyHandlerInstalled = false;
std::uint32_t NextHotkeySerial = 1;
std::vector<HotkeyRecord> HotkeyList;

bool InstallHotkeyHandler() {
  HotkeyList.clear();
  HotkeyHandlerInstalled = false;
  NextHotkeySerial = 1;
  HotkeyService* service = InstalledHotkeyService();
  if (service == nullptr || !service->InstallHandler(HotkeyPressedHandler)) return false;
  HotkeyHandlerInstalled = true;
  return true;
}

void HotkeyPressedHandler(HotkeyId hotkey) {
  for (const HotkeyRecord& record : HotkeyList) {
    if (record.Serial == hotkey.id && record.Signature == hotkey.signature) {
      // Object, window and type all carry the value that marks them as not given.
      QueueEvent(static_cast<std::int32_t>(record.Event), HotkeyWindow, HotkeyWindow, HotkeyWindow,
                 PostCustom);
      return;
    }
  }
}
