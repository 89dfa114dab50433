#include "app/command_table.h"
#include "settings/settings_record.h"
#include "shortcuts/hotkey_registration.h"

void RegisterStartupHotkeys() {
  RegisterHotkey(Settings.ShortKey1, HotkeyEvent1);
  RegisterHotkey(Settings.ShortKey2, HotkeyEvent2);
  RegisterHotkey(Settings.ShortKey3, HotkeyEvent3);
  RegisterHotkey(Settings.ShortKey4, HotkeyEvent4);
}
