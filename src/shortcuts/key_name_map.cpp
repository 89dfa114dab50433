#include "shortcuts/key_name_map.h"

#include "platform/utf.h"
#include "shortcuts/shortcut_code.h"

std::map<std::string, std::uint32_t> KeyNameMap;

void FillKeyNameMap() {
  KeyNameMap = {
      // Letters, upper-case only.
      {"A", 0},
      {"S", 1},
      {"D", 2},
      {"F", 3},
      {"H", 4},
      {"G", 5},
      {"Z", 6},
      {"X", 7},
      {"C", 8},
      {"V", 9},
      {"B", 11},
      {"Q", 12},
      {"W", 13},
      {"E", 14},
      {"R", 15},
      {"Y", 16},
      {"T", 17},
      {"O", 31},
      {"U", 32},
      {"I", 34},
      {"P", 35},
      {"L", 37},
      {"J", 38},
      {"K", 40},
      {"N", 45},
      {"M", 46},
      // Digits with their shifted US-layout symbols on the same key.
      {"1", 18},
      {"!", 18},
      {"2", 19},
      {"@", 19},
      {"3", 20},
      {"#", 20},
      {"4", 21},
      {"$", 21},
      {"6", 22},
      {"^", 22},
      {"5", 23},
      {"%", 23},
      {"9", 25},
      {"(", 25},
      {"7", 26},
      {"&", 26},
      {"8", 28},
      {"*", 28},
      {"0", 29},
      {")", 29},
      // Punctuation with its shifted symbol.
      {"=", 24},
      {"+", 24},
      {"-", 27},
      {"_", 27},
      {"]", 30},
      {"}", 30},
      {"[", 33},
      {"{", 33},
      {"'", 39},
      {"\"", 39},
      {";", 41},
      {":", 41},
      {"\\", 42},
      {"|", 42},
      {",", 43},
      {"<", 43},
      {"/", 44},
      {"?", 44},
      {".", 47},
      {">", 47},
      {"`", 50},
      {"~", 50},
      // ISO section key.
      {"\u00A7", 10},
      {"\u00B1", 10},
      // Named keys.
      {"Return", 36},
      {"Tab", 48},
      {"Space", 49},
      {"Del", 51},
      {"Esc", 53},
      {"CAPS", 57},
      {"Clear", 71},
      {"Home", 115},
      {"End", 119},
      {"PgUp", 116},
      {"PgDown", 121},
      // Function keys.
      {"F1", 122},
      {"F2", 120},
      {"F3", 99},
      {"F4", 118},
      {"F5", 96},
      {"F6", 97},
      {"F7", 98},
      {"F8", 100},
      {"F9", 101},
      {"F10", 109},
      {"F11", 103},
      {"F12", 111},
      {"F13", 105},
      {"F14", 107},
      {"F15", 113},
      {"F16", 106},
      {"F17", 64},
      {"F18", 79},
      {"F19", 80},
      {"F20", 90},
  };
}

HotkeyKeyName ReadShortcutText(std::string_view text) {
  HotkeyKeyName result;
  std::u16string keyName;
  for (char16_t c : Utf8ToUtf16(text)) {
    switch (c) {
      case ControlSymbol: result.modifiers |= HotkeyControl; break;
      case OptionSymbol: result.modifiers |= HotkeyOption; break;
      case ShiftSymbol: result.modifiers |= HotkeyShift; break;
      case CommandSymbol: result.modifiers |= HotkeyCommand; break;
      case u'\u238B': keyName = u"Esc"; break;
      case u'\u21A9': keyName = u"Return"; break;
      default: keyName.push_back(c); break;
    }
  }
  result.keyName = Utf16ToUtf8(keyName);
  return result;
}

bool IsFunctionKeyName(std::string_view keyName) {
  if (keyName.size() < 2 || keyName.size() > 3 || keyName[0] != 'F' || keyName[1] == '0') {
    return false;
  }
  int number = 0;
  for (char c : keyName.substr(1)) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  return number >= 1 && number <= 20;
}

std::optional<std::uint32_t> VirtualKeyCodeOf(const std::string& keyName) {
  auto it = KeyNameMap.find(keyName);
  if (keyName.empty() || it == KeyNameMap.end()) return std::nullopt;
  return it->second;
}
