#include "platform/qt/virtual_key_table.h"

#include <Qt>

namespace {

struct KeyRow {
  std::uint16_t virtualKey;
  std::uint8_t xKeycode;  // evdev position; 0 when the key has none on a PC keyboard
  std::uint32_t keysym;   // unshifted keysym of the US layout
  int qtKey;              // unshifted Qt key
  int qtShiftedKey;       // Qt key with Shift on the US layout; 0 when the same
  bool keypad;
};

// Rows sharing a virtual key code list the preferred keysym first (grabs take the first).
constexpr KeyRow Keys[] = {
    {0, 38, 'a', Qt::Key_A, 0, false},
    {1, 39, 's', Qt::Key_S, 0, false},
    {2, 40, 'd', Qt::Key_D, 0, false},
    {3, 41, 'f', Qt::Key_F, 0, false},
    {4, 43, 'h', Qt::Key_H, 0, false},
    {5, 42, 'g', Qt::Key_G, 0, false},
    {6, 52, 'z', Qt::Key_Z, 0, false},
    {7, 53, 'x', Qt::Key_X, 0, false},
    {8, 54, 'c', Qt::Key_C, 0, false},
    {9, 55, 'v', Qt::Key_V, 0, false},
    {10, 94, 0xa7, Qt::Key_section, Qt::Key_plusminus, false},
    {11, 56, 'b', Qt::Key_B, 0, false},
    {12, 24, 'q', Qt::Key_Q, 0, false},
    {13, 25, 'w', Qt::Key_W, 0, false},
    {14, 26, 'e', Qt::Key_E, 0, false},
    {15, 27, 'r', Qt::Key_R, 0, false},
    {16, 29, 'y', Qt::Key_Y, 0, false},
    {17, 28, 't', Qt::Key_T, 0, false},
    {18, 10, '1', Qt::Key_1, Qt::Key_Exclam, false},
    {19, 11, '2', Qt::Key_2, Qt::Key_At, false},
    {20, 12, '3', Qt::Key_3, Qt::Key_NumberSign, false},
    {21, 13, '4', Qt::Key_4, Qt::Key_Dollar, false},
    {22, 15, '6', Qt::Key_6, Qt::Key_AsciiCircum, false},
    {23, 14, '5', Qt::Key_5, Qt::Key_Percent, false},
    {24, 21, '=', Qt::Key_Equal, Qt::Key_Plus, false},
    {25, 18, '9', Qt::Key_9, Qt::Key_ParenLeft, false},
    {26, 16, '7', Qt::Key_7, Qt::Key_Ampersand, false},
    {27, 20, '-', Qt::Key_Minus, Qt::Key_Underscore, false},
    {28, 17, '8', Qt::Key_8, Qt::Key_Asterisk, false},
    {29, 19, '0', Qt::Key_0, Qt::Key_ParenRight, false},
    {30, 35, ']', Qt::Key_BracketRight, Qt::Key_BraceRight, false},
    {31, 32, 'o', Qt::Key_O, 0, false},
    {32, 30, 'u', Qt::Key_U, 0, false},
    {33, 34, '[', Qt::Key_BracketLeft, Qt::Key_BraceLeft, false},
    {34, 31, 'i', Qt::Key_I, 0, false},
    {35, 33, 'p', Qt::Key_P, 0, false},
    {36, 36, 0xff0d, Qt::Key_Return, 0, false},
    {37, 46, 'l', Qt::Key_L, 0, false},
    {38, 44, 'j', Qt::Key_J, 0, false},
    {39, 48, '\'', Qt::Key_Apostrophe, Qt::Key_QuoteDbl, false},
    {40, 45, 'k', Qt::Key_K, 0, false},
    {41, 47, ';', Qt::Key_Semicolon, Qt::Key_Colon, false},
    {42, 51, '\\', Qt::Key_Backslash, Qt::Key_Bar, false},
    {43, 59, ',', Qt::Key_Comma, Qt::Key_Less, false},
    {44, 61, '/', Qt::Key_Slash, Qt::Key_Question, false},
    {45, 57, 'n', Qt::Key_N, 0, false},
    {46, 58, 'm', Qt::Key_M, 0, false},
    {47, 60, '.', Qt::Key_Period, Qt::Key_Greater, false},
    {48, 23, 0xff09, Qt::Key_Tab, Qt::Key_Backtab, false},
    {49, 65, ' ', Qt::Key_Space, 0, false},
    {50, 49, '`', Qt::Key_QuoteLeft, Qt::Key_AsciiTilde, false},
    {51, 22, 0xff08, Qt::Key_Backspace, 0, false},
    {53, 9, 0xff1b, Qt::Key_Escape, 0, false},
    {55, 133, 0xffeb, Qt::Key_Meta, 0, false},
    {54, 134, 0xffec, 0, 0, false},
    {56, 50, 0xffe1, Qt::Key_Shift, 0, false},
    {57, 66, 0xffe5, Qt::Key_CapsLock, 0, false},
    {58, 64, 0xffe9, Qt::Key_Alt, 0, false},
    {59, 37, 0xffe3, Qt::Key_Control, 0, false},
    {60, 62, 0xffe2, 0, 0, false},
    {61, 108, 0xffea, Qt::Key_AltGr, 0, false},
    {62, 105, 0xffe4, 0, 0, false},
    {65, 91, 0xffae, Qt::Key_Period, 0, true},
    {67, 63, 0xffaa, Qt::Key_Asterisk, 0, true},
    {69, 86, 0xffab, Qt::Key_Plus, 0, true},
    {71, 0, 0xff0b, Qt::Key_Clear, 0, false},
    {75, 106, 0xffaf, Qt::Key_Slash, 0, true},
    {76, 104, 0xff8d, Qt::Key_Enter, 0, true},
    {78, 82, 0xffad, Qt::Key_Minus, 0, true},
    {81, 125, 0xffbd, Qt::Key_Equal, 0, true},
    {82, 90, 0xffb0, Qt::Key_0, 0, true},
    {83, 87, 0xffb1, Qt::Key_1, 0, true},
    {84, 88, 0xffb2, Qt::Key_2, 0, true},
    {85, 89, 0xffb3, Qt::Key_3, 0, true},
    {86, 83, 0xffb4, Qt::Key_4, 0, true},
    {87, 84, 0xffb5, Qt::Key_5, 0, true},
    {88, 85, 0xffb6, Qt::Key_6, 0, true},
    {89, 79, 0xffb7, Qt::Key_7, 0, true},
    {91, 80, 0xffb8, Qt::Key_8, 0, true},
    {92, 81, 0xffb9, Qt::Key_9, 0, true},
    {96, 71, 0xffc2, Qt::Key_F5, 0, false},
    {97, 72, 0xffc3, Qt::Key_F6, 0, false},
    {98, 73, 0xffc4, Qt::Key_F7, 0, false},
    {99, 69, 0xffc0, Qt::Key_F3, 0, false},
    {100, 74, 0xffc5, Qt::Key_F8, 0, false},
    {101, 75, 0xffc6, Qt::Key_F9, 0, false},
    {103, 95, 0xffc8, Qt::Key_F11, 0, false},
    {105, 191, 0xffca, Qt::Key_F13, 0, false},
    {107, 192, 0xffcb, Qt::Key_F14, 0, false},
    {109, 76, 0xffc7, Qt::Key_F10, 0, false},
    {111, 96, 0xffc9, Qt::Key_F12, 0, false},
    {113, 193, 0xffcc, Qt::Key_F15, 0, false},
    {106, 194, 0xffcd, Qt::Key_F16, 0, false},
    {64, 195, 0xffce, Qt::Key_F17, 0, false},
    {79, 196, 0xffcf, Qt::Key_F18, 0, false},
    {80, 197, 0xffd0, Qt::Key_F19, 0, false},
    {90, 198, 0xffd1, Qt::Key_F20, 0, false},
    // The Help key sits where a PC keyboard has Insert.
    {114, 118, 0xff63, Qt::Key_Insert, 0, false},
    {114, 146, 0xff6a, Qt::Key_Help, 0, false},
    {115, 110, 0xff50, Qt::Key_Home, 0, false},
    {116, 112, 0xff55, Qt::Key_PageUp, 0, false},
    {117, 119, 0xffff, Qt::Key_Delete, 0, false},
    {118, 70, 0xffc1, Qt::Key_F4, 0, false},
    {119, 115, 0xff57, Qt::Key_End, 0, false},
    {120, 68, 0xffbf, Qt::Key_F2, 0, false},
    {121, 117, 0xff56, Qt::Key_PageDown, 0, false},
    {122, 67, 0xffbe, Qt::Key_F1, 0, false},
    {123, 113, 0xff51, Qt::Key_Left, 0, false},
    {124, 114, 0xff53, Qt::Key_Right, 0, false},
    {125, 116, 0xff54, Qt::Key_Down, 0, false},
    {126, 111, 0xff52, Qt::Key_Up, 0, false},
};

// Characters of keys that have none of their own, as the toolkit reports them.
struct FunctionCharacter {
  std::uint32_t keysym;
  int qtKey;
  char16_t character;
};

constexpr FunctionCharacter FunctionCharacters[] = {
    {0xff0d, Qt::Key_Return, 13},     {0xff8d, Qt::Key_Enter, 3},
    {0xff09, Qt::Key_Tab, 9},         {0xfe20, Qt::Key_Backtab, 25},
    {0xff08, Qt::Key_Backspace, 127}, {0xff1b, Qt::Key_Escape, 27},
    {0xff52, Qt::Key_Up, 0xF700},     {0xff54, Qt::Key_Down, 0xF701},
    {0xff51, Qt::Key_Left, 0xF702},   {0xff53, Qt::Key_Right, 0xF703},
    {0xff63, Qt::Key_Insert, 0xF727}, {0xffff, Qt::Key_Delete, 0xF728},
    {0xff50, Qt::Key_Home, 0xF729},   {0xff57, Qt::Key_End, 0xF72B},
    {0xff55, Qt::Key_PageUp, 0xF72C}, {0xff56, Qt::Key_PageDown, 0xF72D},
    {0xff6a, Qt::Key_Help, 0xF746},   {0xff0b, Qt::Key_Clear, 0xF739},
};

constexpr std::uint32_t KeysymF1 = 0xffbe;
constexpr std::uint32_t KeysymF35 = 0xffe0;
constexpr std::uint32_t KeysymKeypad0 = 0xffb0;
constexpr std::uint32_t KeysymKeypad9 = 0xffb9;
constexpr std::uint32_t UnicodeKeysymBase = 0x01000000;

}  // namespace

std::optional<std::uint16_t> VirtualKeyForXKeycode(std::uint32_t xKeycode) {
  if (xKeycode == 0) return std::nullopt;
  for (const KeyRow& row : Keys) {
    if (row.xKeycode == xKeycode) return row.virtualKey;
  }
  return std::nullopt;
}

std::optional<std::uint16_t> VirtualKeyForQtKey(int qtKey, bool keypad) {
  for (const KeyRow& row : Keys) {
    if (row.keypad != keypad || row.qtKey == 0) continue;
    if (row.qtKey == qtKey || row.qtShiftedKey == qtKey) return row.virtualKey;
  }
  // Keys that only exist on the pad elsewhere (Enter) are found without the flag too.
  if (keypad) return VirtualKeyForQtKey(qtKey, false);
  return std::nullopt;
}

std::uint32_t KeysymForVirtualKey(std::uint16_t virtualKey) {
  for (const KeyRow& row : Keys) {
    if (row.virtualKey == virtualKey) return row.keysym;
  }
  return 0;
}

char16_t CharacterForKeysym(std::uint32_t keysym) {
  if ((keysym >= 0x20 && keysym <= 0x7e) || (keysym >= 0xa0 && keysym <= 0xff)) {
    return static_cast<char16_t>(keysym);
  }
  if (keysym > UnicodeKeysymBase && keysym <= UnicodeKeysymBase + 0xffff) {
    return static_cast<char16_t>(keysym - UnicodeKeysymBase);
  }
  if (keysym >= KeysymKeypad0 && keysym <= KeysymKeypad9) {
    return static_cast<char16_t>(u'0' + (keysym - KeysymKeypad0));
  }
  switch (keysym) {
    case 0xffaa: return u'*';
    case 0xffab: return u'+';
    case 0xffad: return u'-';
    case 0xffae: return u'.';
    case 0xffaf: return u'/';
    case 0xffbd: return u'=';
    default: break;
  }
  if (keysym >= KeysymF1 && keysym <= KeysymF35) {
    return static_cast<char16_t>(0xF704 + (keysym - KeysymF1));
  }
  for (const FunctionCharacter& f : FunctionCharacters) {
    if (f.keysym == keysym) return f.character;
  }
  return 0;
}

char16_t CharacterForQtKey(int qtKey, bool shift) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
    return static_cast<char16_t>(shift ? qtKey : qtKey + 32);
  }
  if ((qtKey >= 0x20 && qtKey <= 0x7e) || (qtKey >= 0xa0 && qtKey <= 0xff)) {
    return static_cast<char16_t>(qtKey);
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F35) {
    return static_cast<char16_t>(0xF704 + (qtKey - Qt::Key_F1));
  }
  for (const FunctionCharacter& f : FunctionCharacters) {
    if (f.qtKey == qtKey) return f.character;
  }
  return 0;
}

bool IsModifierQtKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock: return true;
    default: return false;
  }
}
