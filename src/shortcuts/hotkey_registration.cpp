#include "shortcuts/hotkey_registration.h"

#include <string>

#include "platform/hotkey_service.h"
#include "platform/utf.h"
#include "shortcuts/hotkey_list.h"
#include "shortcuts/key_name_map.h"

namespace {

HotkeyId IdOf(const HotkeyRecord& record) { return {record.Signature, record.Serial}; }

}  // namespace

bool RegisterHotkey(std::string_view text, std::int64_t event) {
  HotkeyService* service = InstalledHotkeyService();
  if (!HotkeyHandlerInstalled || service == nullptr || Utf8ToUtf16(text).size() < 2) {
    return false;
  }
  const HotkeyKeyName key = ReadShortcutText(text);
  const std::optional<std::uint32_t> keyCode = VirtualKeyCodeOf(key.keyName);
  if (!keyCode) return false;

  HotkeyRecord record;
  record.ShortcutText = std::string(text);
  record.Serial = NextHotkeySerial++;
  record.Signature = HotkeySignatureBase + record.Serial;
  record.Event = event;
  if (!service->RegisterKey(*keyCode, key.modifiers, IdOf(record))) return false;
  HotkeyList.push_back(std::move(record));
  return true;
}

void UnregisterHotkey(std::string_view text, std::int64_t event) {
  HotkeyService* service = InstalledHotkeyService();
  if (!HotkeyHandlerInstalled || service == nullptr) return;
  for (auto it = HotkeyList.begin(); it != HotkeyList.end();) {
    if (it->ShortcutText != text && it->Event != event) {
      ++it;
      continue;
    }
    // A record the desktop still holds must stay, or its presses could never be released.
    if (!service->UnregisterKey(IdOf(*it))) return;
    it = HotkeyList.erase(it);
  }
}
