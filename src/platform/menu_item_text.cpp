#include "platform/menu_item_text.h"

#include <vector>

#include "platform/utf.h"

namespace {

// ASCII only: bytes of other characters must pass through whatever the locale.
std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return upper;
}

std::u16string Lower16(std::string_view text) {
  std::u16string lower = Utf8ToUtf16(text);
  for (char16_t& c : lower) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  }
  return lower;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = text.find(separator, start);
    if (at == std::string_view::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, at - start));
    start = at + 1;
  }
}

// 1 to 12 for the tokens "F1" to "F12", else 0.
int FunctionKeyNumber(std::string_view token) {
  if (token.size() < 2 || token.size() > 3 || token[0] != 'F') return 0;
  int n = 0;
  for (char c : token.substr(1)) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return n >= 1 && n <= 12 && token[1] != '0' ? n : 0;
}

struct NamedKey {
  std::string_view token;
  char16_t keyEquivalent;
};

// Keys a hint names by a whole word, because their character cannot stand in a hint ("+",
// "&") or is not printable.
constexpr NamedKey NamedKeys[] = {
    {"PLUS", u'+'},
    {"AMPERSAND", u'&'},
    {"BACKSPACE", u'\x08'},
    {"TAB", u'\t'},
    {"RETURN", u'\r'},
    {"ESC", u'\x1B'},
    {"SPACE", u' '},
    {"PGUP", CharacterPageUp},
    {"PGDOWN", CharacterPageDown},
    {"END", CharacterEnd},
    {"HOME", CharacterHome},
    {"LEFT", CharacterLeft},
    {"UP", CharacterUp},
    {"RIGHT", CharacterRight},
    {"DOWN", CharacterDown},
    {"INSERT", CharacterInsert},
    {"DELETE", CharacterDelete},
};

char16_t NamedKeyEquivalent(std::string_view token) {
  for (const NamedKey& key : NamedKeys) {
    if (key.token == token) return key.keyEquivalent;
  }
  return 0;
}

}  // namespace

MenuItemText ReadMenuItemText(std::string_view text) {
  std::string cleaned;
  for (char c : text) {
    if (c != '&') cleaned.push_back(c);
  }
  MenuItemText item;
  const std::vector<std::string_view> parts = Split(cleaned, '\t');
  item.title = std::string(parts[0]);
  if (parts.size() < 2) return item;

  const std::string hint = Upper(parts[1]);
  for (std::string_view token : Split(hint, '+')) {
    if (token == "CMD") {
      item.modifierMask |= ModifierCommand;
    } else if (token == "SHIFT") {
      item.modifierMask |= ModifierShift;
    } else if (token == "ALT") {
      item.modifierMask |= ModifierOption;
    } else if (token == "CTRL") {
      item.modifierMask |= ModifierControl;
    } else if (const int n = FunctionKeyNumber(token); n != 0) {
      item.keyEquivalent = std::u16string(1, static_cast<char16_t>(CharacterF1 + n - 1));
    } else if (const char16_t key = NamedKeyEquivalent(token); key != 0) {
      item.keyEquivalent = std::u16string(1, key);
    } else {
      item.keyEquivalent = Lower16(token);
    }
  }
  return item;
}
