#include "shortcuts/shortcut_code.h"

#include "platform/utf.h"

std::u16string KeyTextOf(std::uint32_t keyCode) {
  if (keyCode >= 'a' && keyCode <= 'z') return std::u16string(1, static_cast<char16_t>(keyCode - 32));
  if (keyCode >= 33 && keyCode <= 126) return std::u16string(1, static_cast<char16_t>(keyCode));
  for (std::size_t row = 0; row < SpecialKeyTable.size(); ++row) {
    const SpecialKeyRow& key = SpecialKeyTable[row];
    if (key.keyCode != keyCode) continue;
    if ((SpecialKeyDisplayMask >> row) & 1) return std::u16string(1, key.symbol);
    return Utf8ToUtf16(key.name);
  }
  return {};
}

std::string ShortcutTextFromCode(std::uint32_t code) {
  std::u16string text;
  if (code & ShortcutControl) text.push_back(ControlSymbol);
  if (code & ShortcutOption) text.push_back(OptionSymbol);
  if (code & ShortcutShift) text.push_back(ShiftSymbol);
  if (code & ShortcutCommand) text.push_back(CommandSymbol);
  text += KeyTextOf(code & ShortcutKeyMask);
  return Utf16ToUtf8(text);
}
