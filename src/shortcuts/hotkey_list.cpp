#include "shortcuts/hotkey_list.h"

#include "platform/event_record.h"
#include "platform/toolkit.h"

bool HotkeyHandlerInstalled = false;
std::uint32_t NextHotkeySerial = 1;
std::vector<HotkeyRecord> HotkeyList;

namespace {
// Object, window and type of a hot-key event: the value that marks a parameter as not given.
constexpr std::int64_t NotGiven = -65535;
}  // namespace

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
      QueueEvent(static_cast<std::int32_t>(record.Event), NotGiven, NotGiven, NotGiven,
                 PostCustom);
      return;
    }
  }
}
