#include "shortcuts/shortcut_code.h"

#include "platform/utf.h"

std::u16string KeyTextOf(std::uint32_t keyCode) {
  if (keyCode >= 'a' && keyCode <= 'z')
    return std::u16string(1, static_cast<char16_t>(keyCode - 32));
  if (keyCode >= 33 && keyCode <= 126) return std::u16string(1, static_cast<char16_t>(keyCode));
  for (std::size_t row = 0; row < SpecialKeyTable.size(); ++row) {
    const SpecialKeyRow& key = SpecialKeyTable[row];
    if (key.keyCode != keyCode) continue;
    if ((SpecialKeyDisplayMask >> row) & 1) return std::u16string(1, key.symbol);
    return Utf8ToUtf16(key.name);
  }
  return {};
}

std::uint32_t ShortcutCodeFromText(std::string_view text) {
  std::uint32_t modifiers = 0;
  std::u16string key;
  for (char16_t c : Utf8ToUtf16(text)) {
    switch (c) {
      case ControlSymbol: modifiers |= ShortcutControl; break;
      case OptionSymbol: modifiers |= ShortcutOption; break;
      case ShiftSymbol: modifiers |= ShortcutShift; break;
      case CommandSymbol: modifiers |= ShortcutCommand; break;
      default: key.push_back(c); break;
    }
  }
  // Letters are held in lower case, whatever case the text shows them in.
  if (key.size() == 1 && key[0] >= u'A' && key[0] <= u'Z') return modifiers + key[0] + 32;
  if (key.empty()) return 0;
  for (std::uint32_t code = 1; code < 127; ++code) {
    if (KeyTextOf(code) == key) return modifiers + code;
  }
  for (const SpecialKeyRow& row : SpecialKeyTable) {
    if (KeyTextOf(row.keyCode) == key) return modifiers + row.keyCode;
  }
  return 0;
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
