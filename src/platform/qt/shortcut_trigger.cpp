#include "platform/qt/shortcut_trigger.h"

#include <xkbcommon/xkbcommon.h>

#include "platform/key_codes.h"
#include "platform/qt/virtual_key_table.h"

std::string ShortcutTrigger(std::uint16_t virtualKey, std::uint32_t modifiers) {
  const std::uint32_t keysym = KeysymForVirtualKey(virtualKey);
  char name[64];
  if (keysym == 0 || xkb_keysym_get_name(keysym, name, sizeof name) <= 0) return {};
  // Command is the Super ("logo") key and Option the Alt key, as for X11 grabs.
  std::string trigger;
  if (modifiers & HotkeyControl) trigger += "CTRL+";
  if (modifiers & HotkeyOption) trigger += "ALT+";
  if (modifiers & HotkeyShift) trigger += "SHIFT+";
  if (modifiers & HotkeyCommand) trigger += "LOGO+";
  return trigger + name;
}
