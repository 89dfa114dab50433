#include "shortcuts/hotkey_list.h"

#include "platform/command_numbers.h"
#include "platform/event_record.h"
#include "platform/toolkit.h"
#include "platform/utf.h"
#include "settings/settings_record.h"
#include "shortcuts/key_name_map.h"
#include "shortcuts/shortcut_code.h"
#include "shortcuts/shortcut_gadget.h"

std::vector<HotkeyRecord> HotkeyList;

namespace {

bool handlerInstalled = false;
std::uint32_t nextSerial = 1;

HotkeyId IdOf(const HotkeyRecord& record) {
  return {record.Signature, record.Serial};
}

// What each hot key does, in the words of its menu item.
std::string_view PurposeOf(std::int64_t event) {
  switch (event) {
    case HotkeyEvent1: return "Capture Entire Screen";
    case HotkeyEvent2: return "Capture Window";
    case HotkeyEvent3: return "Capture Selection";
    case HotkeyEvent4: return "Open Capture Location";
  }
  return {};
}

}  // namespace

bool InstallHotkeyHandler() {
  HotkeyList.clear();
  handlerInstalled = false;
  nextSerial = 1;
  HotkeyService* service = InstalledHotkeyService();
  if (service == nullptr || !service->InstallHandler(HotkeyPressedHandler)) return false;
  handlerInstalled = true;
  return true;
}

void HotkeyPressedHandler(HotkeyId hotkey) {
  for (const HotkeyRecord& record : HotkeyList) {
    if (record.Serial == hotkey.id && record.Signature == hotkey.signature) {
      // The desktop hands a grabbed key to the program, not to the focused window: typed into a
      // shortcut field, the combination is recorded there instead of running its command.
      if (const std::int64_t field = FocusedShortcutField(); field != -1) {
        SetGadgetState(field, ShortcutCodeFromText(record.ShortcutText));
        return;
      }
      // Object, window and type all carry the value that marks them as not given.
      QueueEvent(static_cast<std::int32_t>(record.Event), HotkeyWindow, HotkeyWindow, HotkeyWindow,
                 PostCustom);
      return;
    }
  }
}

bool RegisterHotkey(std::string_view text, std::int64_t event) {
  HotkeyService* service = InstalledHotkeyService();
  if (!handlerInstalled || service == nullptr || Utf8ToUtf16(text).size() < 2) return false;
  const HotkeyKeyName key = ReadShortcutText(text);
  const std::optional<std::uint32_t> keyCode = VirtualKeyCodeOf(key.keyName);
  if (!keyCode) return false;
  // Grabbed for the whole desktop, a letter alone or with Shift could no longer be typed.
  if ((key.modifiers & ~HotkeyShift) == 0 && !IsFunctionKeyName(key.keyName)) return false;

  HotkeyRecord record;
  record.ShortcutText = std::string(text);
  record.Serial = nextSerial++;
  record.Signature = HotkeySignatureBase + record.Serial;
  record.Event = event;
  if (!service->RegisterKey(*keyCode, key.modifiers, IdOf(record), PurposeOf(event))) {
    return false;
  }
  HotkeyList.push_back(std::move(record));
  return true;
}

void UnregisterHotkey(std::string_view text, std::int64_t event) {
  HotkeyService* service = InstalledHotkeyService();
  if (!handlerInstalled || service == nullptr) return;
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

void RegisterStartupHotkeys() {
  RegisterHotkey(Settings.ShortKey1, HotkeyEvent1);
  RegisterHotkey(Settings.ShortKey2, HotkeyEvent2);
  RegisterHotkey(Settings.ShortKey3, HotkeyEvent3);
  RegisterHotkey(Settings.ShortKey4, HotkeyEvent4);
}
