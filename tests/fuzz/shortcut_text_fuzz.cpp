// Shortcut texts as the settings file may hold them: read as a hot key, as a code and as a
// menu hint. A text that reads as a code must read back from that code's own text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/menu_item_text.h"
#include "shortcuts/key_name_map.h"
#include "shortcuts/menu_hint.h"
#include "shortcuts/shortcut_code.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool filled = (FillKeyNameMap(), true);
  (void)filled;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const HotkeyKeyName key = ReadShortcutText(text);
  VirtualKeyCodeOf(key.keyName);
  ReadMenuItemText("Item\t" + MenuHintFromShortcut(text));
  const std::uint32_t code = ShortcutCodeFromText(text);
  if (code != 0 && ShortcutCodeFromText(ShortcutTextFromCode(code)) != code) std::abort();
  return 0;
}
