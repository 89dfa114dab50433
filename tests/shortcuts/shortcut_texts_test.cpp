#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/menu_item_text.h"
#include "shortcuts/key_name_map.h"
#include "shortcuts/menu_hint.h"
#include "shortcuts/shortcut_code.h"
#include "shortcuts/shortcut_gadget.h"

// The forms a shortcut takes: the field's code, the stored text, the hot key's key name and
// modifier word, and the menu item's hint and key equivalent.

namespace {

TEST(ShortcutText, ModifiersInFixedOrderThenTheKeysTextSymbolOrName) {
  const std::pair<std::uint32_t, const char*> cases[] = {
      {0x80061, "⌘A"}, {0xF0061, "⌃⌥⇧⌘A"},  {0x50033, "⌥⇧3"},    {0x8002C, "⌘,"},
      {0x7A, "Z"},     {0x8017A, "⌘F1"},    {0x20020, "⌃Space"}, {0x4000D, "⌥↩"},
      {0x1, "↖"},      {0x5, "Insert"},     {0x8, "⌫"},          {0x0, ""},
      {0x80003, "⌘"},  {0x10000 | 10, "⇧"}, {0x1017B, "⇧"},      {0x1FFFF, "⇧"}};
  for (const auto& [code, text] : cases) EXPECT_EQ(ShortcutTextFromCode(code), text) << code;
}

TEST(KeyNames, TextsGiveTheHotKeysModifierWordAndVirtualKey) {
  FillKeyNameMap();
  FillKeyNameMap();  // a later start fills it again, unchanged
  const struct {
    const char* text;
    std::uint32_t modifiers;
    std::optional<std::uint32_t> key;
  } cases[] = {
      {"⌘⎋", HotkeyCommand, VirtualEscape},
      {"⌥↩", HotkeyOption, VirtualReturn},
      {"⇧⌘3", HotkeyShift | HotkeyCommand, VirtualDigits[3]},
      {"⌘⇧#", HotkeyShift | HotkeyCommand, VirtualDigits[3]},  // any order; the shifted symbol
      {"⌘⌘A", HotkeyCommand, 0},                               // counts once
      {"⌃⌥⇧⌘F12", 0x1B00, VirtualFunctionKeys[11]},
      {"F20", 0, 90},
      {"⌘Space", HotkeyCommand, VirtualSpace},
      {"⌥Tab", HotkeyOption, VirtualTab},
      {"⌃§", HotkeyControl, 10},
      {"⌘a", HotkeyCommand, std::nullopt},  // names are upper-case only
      {"⌘↖", HotkeyCommand, std::nullopt},  // the field's symbols without a key name
      {"⌘⌫", HotkeyCommand, std::nullopt},
      {"⌘Insert", HotkeyCommand, std::nullopt},
      {"⌃⌘", HotkeyControl | HotkeyCommand, std::nullopt},
  };
  for (const auto& c : cases) {
    const HotkeyKeyName read = ReadShortcutText(c.text);
    EXPECT_EQ(read.modifiers, c.modifiers) << c.text;
    EXPECT_EQ(VirtualKeyCodeOf(read.keyName), c.key) << c.text;
  }
  EXPECT_EQ(ReadShortcutText("⌘↖").keyName, "↖");
  // The names agree with the keys the field and the window shortcuts know by position.
  for (std::size_t n = 0; n < 12; ++n) {
    EXPECT_EQ(KeyNameMap.at("F" + std::to_string(n + 1)), VirtualFunctionKeys[n]);
    EXPECT_EQ(KeyNameMap.at(std::to_string(n % 10)), VirtualDigits[n % 10]);
  }
}

TEST(MenuHint, ModifierWordsInTheTextsOrderThenTheKeyWord) {
  const std::pair<const char*, const char*> cases[] = {{"⇧⌘A", "Shift+Cmd+A"},
                                                       {"⌘⇧3", "Cmd+Shift+3"},
                                                       {"⌃⌥⌘,", "Ctrl+Alt+Cmd+,"},
                                                       {"A", "A"},
                                                       {"", ""},
                                                       {"⌃⌥⇧⌘F12", "Ctrl+Alt+Shift+Cmd+F12"},
                                                       {"⌘Space", "Cmd+Space"},
                                                       {"⇧+", "Shift+Plus"},
                                                       {"⌘&", "Cmd+Ampersand"},
                                                       {"⌥⎋", "Alt+Esc"},
                                                       {"⌃↩", "Ctrl+Return"},
                                                       {"⌘↖", "Cmd+Home"},
                                                       {"⇟", "PgDown"},
                                                       {"⌘⌦", "Cmd+Delete"}};
  for (const auto& [text, hint] : cases) EXPECT_EQ(MenuHintFromShortcut(text), hint) << text;
}

TEST(MenuItemText, TitleWithoutAmpersandsAndTheHintsKeyAndModifiersInAnyCase) {
  const struct {
    const char* text;
    const char* title;
    std::u16string key;
    std::uint32_t mask;
  } cases[] = {
      {"Quit\tCmd+Q", "Quit", u"q", ModifierCommand},
      {"Capture Entire Screen\t", "Capture Entire Screen", u"", 0},
      {"Save && Open &Capture", "Save  Open Capture", u"", 0},
      {"&Quit\tcmd+&Q", "Quit", u"q", ModifierCommand},
      {"X\tSHIFT+CMD+A", "X", u"a", ModifierShift | ModifierCommand},
      {"X\tCtrl+Alt+F5", "X", u"\uF708", ModifierControl | ModifierOption},
      {"X\tCmd+B\tShift+C", "X", u"b", ModifierCommand},  // only the first hint counts
      {"X\tB+C", "X", u"c", 0},                           // a later key word replaces
      {"X\tInsert", "X", u"\uF727", 0},
      {"X\tF13", "X", u"f13", 0},
      {"X\tF0", "X", u"f0", 0},
      {"X\tF01", "X", u"f01", 0},
  };
  for (const auto& c : cases) {
    const MenuItemText item = ReadMenuItemText(c.text);
    EXPECT_EQ(item.title, c.title) << c.text;
    EXPECT_EQ(item.keyEquivalent, c.key) << c.text;
    EXPECT_EQ(item.modifierMask, c.mask) << c.text;
  }
}

// The key equivalent a menu must end up with for each key of a shortcut code, written out
// independently of the code that prints and reads hints.
std::u16string ExpectedKeyEquivalent(std::uint32_t key) {
  if (key >= 33 && key <= 126) return std::u16string(1, static_cast<char16_t>(key));
  static const std::map<std::uint32_t, std::u16string> special = {
      {8, u"\b"},         {9, u"\t"},         {13, u"\r"},        {27, u"\x1B"},
      {32, u" "},         {1, u"\uF729"},     {4, u"\uF72B"},     {5, u"\uF727"},
      {11, u"\uF72C"},    {12, u"\uF72D"},    {28, u"\uF702"},    {29, u"\uF703"},
      {30, u"\uF700"},    {31, u"\uF701"},    {127, u"\uF728"},   {0x17A, u"\uF704"},
      {0x178, u"\uF705"}, {0x163, u"\uF706"}, {0x176, u"\uF707"}, {0x160, u"\uF708"},
      {0x161, u"\uF709"}, {0x162, u"\uF70A"}, {0x164, u"\uF70B"}, {0x165, u"\uF70C"},
      {0x16D, u"\uF70D"}, {0x167, u"\uF70E"}, {0x16F, u"\uF70F"},
  };
  auto it = special.find(key);
  return it == special.end() ? std::u16string() : it->second;
}

TEST(MenuHint, EveryShortcutTheFieldCanMakeReadsBackToItsKeyAndModifiers) {
  // All modifier combinations with every virtual key code and every character a key reports.
  std::set<std::uint32_t> codes;
  for (std::uint32_t m = 0; m < 16; ++m) {
    for (std::uint16_t keyCode = 0; keyCode < 128; ++keyCode) {
      for (char16_t c = 0; c < 0x100; ++c) codes.insert(MapToShortcut(m << 17, keyCode, c));
      for (char16_t c : {u'\uF728', u'\uF746', u'\u20AC', u'\uFFFF'}) {
        codes.insert(MapToShortcut(m << 17, keyCode, c));
      }
    }
  }
  // 16 modifier sets x (94 printable characters minus 26 upper-case letters, 14 special keys
  // from Tab to Space, 12 function keys), and the cleared code 0.
  EXPECT_EQ(codes.size(), 16u * (94 - 26 + 14 + 12) + 1);
  for (std::uint32_t code : codes) {
    if (code == 0) continue;
    const std::string text = ShortcutTextFromCode(code);
    const MenuItemText item = ReadMenuItemText("Capture Window...\t" + MenuHintFromShortcut(text));
    const std::u16string expected = ExpectedKeyEquivalent(code & ShortcutKeyMask);
    ASSERT_FALSE(expected.empty()) << "the field made a code without a key: " << code;
    EXPECT_EQ(item.title, "Capture Window...") << text;
    EXPECT_EQ(item.keyEquivalent, expected) << text << " -> " << MenuHintFromShortcut(text);
    EXPECT_EQ(item.modifierMask, (code & ShortcutModifierMask) << 1) << text;
  }
}

}  // namespace
