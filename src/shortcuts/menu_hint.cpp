#include "shortcuts/menu_hint.h"

#include "platform/utf.h"
#include "shortcuts/shortcut_code.h"

namespace {

struct KeyWord {
  char16_t key;
  const char* word;
};

// One-character keys that the hint names: "+" separates the words and "&" is dropped from menu
// texts, the symbols would become key equivalents of their own.
constexpr KeyWord KeyWords[] = {
    {u'+', "Plus"},      {u'&', "Ampersand"},   {u'\u232B', "Backspace"}, {u'\u21A9', "Return"},
    {u'\u238B', "Esc"},  {u'\u21DE', "PgUp"},   {u'\u21DF', "PgDown"},    {u'\u2198', "End"},
    {u'\u2196', "Home"}, {u'\u2190', "Left"},   {u'\u2191', "Up"},        {u'\u2192', "Right"},
    {u'\u2193', "Down"}, {u'\u2326', "Delete"},
};

const char* ModifierWord(char16_t c) {
  switch (c) {
    case ShiftSymbol: return "Shift";
    case CommandSymbol: return "Cmd";
    case OptionSymbol: return "Alt";
    case ControlSymbol: return "Ctrl";
    default: return nullptr;
  }
}

std::string KeyWordOf(const std::u16string& key) {
  if (key.size() == 1) {
    for (const KeyWord& k : KeyWords) {
      if (k.key == key[0]) return k.word;
    }
  }
  return Utf16ToUtf8(key);
}

}  // namespace

std::string MenuHintFromShortcut(std::string_view text) {
  std::string hint;
  std::u16string key;
  for (char16_t c : Utf8ToUtf16(text)) {
    if (const char* word = ModifierWord(c)) {
      if (!hint.empty()) hint += '+';
      hint += word;
    } else {
      key.push_back(c);
    }
  }
  if (!key.empty()) {
    if (!hint.empty()) hint += '+';
    hint += KeyWordOf(key);
  }
  return hint;
}
