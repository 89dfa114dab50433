#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/menu_item_text.h"
#include "platform/utf.h"
#include "shortcuts/menu_hint.h"
#include "shortcuts/shortcut_code.h"
#include "shortcuts/shortcut_gadget.h"

namespace {

TEST(MenuHint, ModifierWordsAndKeyJoinedByPlus) {
  EXPECT_EQ(MenuHintFromShortcut("⇧⌘A"), "Shift+Cmd+A");
  EXPECT_EQ(MenuHintFromShortcut("⌘,"), "Cmd+,");
  EXPECT_EQ(MenuHintFromShortcut("⌘Q"), "Cmd+Q");
  EXPECT_EQ(MenuHintFromShortcut("A"), "A");
  EXPECT_EQ(MenuHintFromShortcut("⌥⌘F"), "Alt+Cmd+F");
  EXPECT_EQ(MenuHintFromShortcut("⌃⌥⌘A"), "Ctrl+Alt+Cmd+A");
  EXPECT_EQ(MenuHintFromShortcut(""), "");
  // A stored text in another order keeps its order.
  EXPECT_EQ(MenuHintFromShortcut("⌘⇧3"), "Cmd+Shift+3");
}

TEST(MenuHint, LongerTextsKeepKeyNamesWhole) {
  EXPECT_EQ(MenuHintFromShortcut("⌃⌥⇧⌘A"), "Ctrl+Alt+Shift+Cmd+A");
  EXPECT_EQ(MenuHintFromShortcut("⌘F1"), "Cmd+F1");
  EXPECT_EQ(MenuHintFromShortcut("F5"), "F5");
  EXPECT_EQ(MenuHintFromShortcut("⌘Space"), "Cmd+Space");
  EXPECT_EQ(MenuHintFromShortcut("⌥Tab"), "Alt+Tab");
  EXPECT_EQ(MenuHintFromShortcut("⌃⌥⇧⌘F12"), "Ctrl+Alt+Shift+Cmd+F12");
}

TEST(MenuHint, KeysAHintCannotCarryAreNamed) {
  EXPECT_EQ(MenuHintFromShortcut("⇧+"), "Shift+Plus");
  EXPECT_EQ(MenuHintFromShortcut("⌘&"), "Cmd+Ampersand");
  EXPECT_EQ(MenuHintFromShortcut("⌥⎋"), "Alt+Esc");
  EXPECT_EQ(MenuHintFromShortcut("⌃↩"), "Ctrl+Return");
  EXPECT_EQ(MenuHintFromShortcut("⌘↖"), "Cmd+Home");
  EXPECT_EQ(MenuHintFromShortcut("⇟"), "PgDown");
  EXPECT_EQ(ReadMenuItemText("X\t" + MenuHintFromShortcut("⌃⌦")).keyEquivalent, u"\uF728");
}

TEST(MenuItemTextReading, TitleKeyEquivalentAndMask) {
  MenuItemText quit = ReadMenuItemText("Quit\tCmd+Q");
  EXPECT_EQ(quit.title, "Quit");
  EXPECT_EQ(quit.keyEquivalent, u"q");
  EXPECT_EQ(quit.modifierMask, ModifierCommand);

  MenuItemText prefs = ReadMenuItemText("Preferences...\tCmd+,");
  EXPECT_EQ(prefs.title, "Preferences...");
  EXPECT_EQ(prefs.keyEquivalent, u",");
  EXPECT_EQ(prefs.modifierMask, ModifierCommand);

  MenuItemText empty = ReadMenuItemText("Capture Entire Screen\t");
  EXPECT_EQ(empty.title, "Capture Entire Screen");
  EXPECT_EQ(empty.keyEquivalent, u"");
  EXPECT_EQ(empty.modifierMask, 0u);

  EXPECT_EQ(ReadMenuItemText("Capture\tShift+Cmd+a").keyEquivalent, u"a");
  MenuItemText upper = ReadMenuItemText("Capture\tSHIFT+CMD+A");
  EXPECT_EQ(upper.keyEquivalent, u"a");
  EXPECT_EQ(upper.modifierMask, ModifierShift | ModifierCommand);
  EXPECT_EQ(ReadMenuItemText("X\tCtrl+Alt+F5").keyEquivalent, u"\uF708");
  EXPECT_EQ(ReadMenuItemText("X\tCtrl+Alt+F5").modifierMask, ModifierControl | ModifierOption);
  // Only the first hint counts; a later key word replaces an earlier one.
  EXPECT_EQ(ReadMenuItemText("X\tCmd+B\tShift+C").modifierMask, ModifierCommand);
  EXPECT_EQ(ReadMenuItemText("X\tB+C").keyEquivalent, u"c");
}

TEST(MenuItemTextReading, AmpersandsAreRemovedEverywhere) {
  MenuItemText plain = ReadMenuItemText("Save && Open &Capture... (3 sec)");
  EXPECT_EQ(plain.title, "Save  Open Capture... (3 sec)");
  EXPECT_EQ(plain.keyEquivalent, u"");
  EXPECT_EQ(plain.modifierMask, 0u);
  EXPECT_EQ(ReadMenuItemText("&Quit\tCmd+&Q").title, "Quit");
  EXPECT_EQ(ReadMenuItemText("&Quit\tCmd+&Q").keyEquivalent, u"q");
}

TEST(MenuItemTextReading, NamedKeysGiveTheirKeyEquivalents) {
  const std::map<std::string, std::u16string> named = {
      {"Plus", u"+"},        {"Ampersand", u"&"}, {"Space", u" "},      {"Tab", u"\t"},
      {"Return", u"\r"},     {"Esc", u"\x1B"},    {"Backspace", u"\b"}, {"Delete", u"\uF728"},
      {"Insert", u"\uF727"}, {"Home", u"\uF729"}, {"End", u"\uF72B"},   {"PgUp", u"\uF72C"},
      {"PgDown", u"\uF72D"}, {"Up", u"\uF700"},   {"Down", u"\uF701"},  {"Left", u"\uF702"},
      {"Right", u"\uF703"},  {"F1", u"\uF704"},   {"F12", u"\uF70F"},
  };
  for (const auto& [word, key] : named) {
    EXPECT_EQ(ReadMenuItemText("X\tCmd+" + word).keyEquivalent, key) << word;
    EXPECT_EQ(ReadMenuItemText("X\t" + word).keyEquivalent, key) << word;
  }
  EXPECT_EQ(ReadMenuItemText("X\tF13").keyEquivalent, u"f13");
  EXPECT_EQ(ReadMenuItemText("X\tF0").keyEquivalent, u"f0");
}

// The key equivalent a menu must end up with for each key code, written out independently of
// the code that prints and reads hints.
std::u16string ExpectedKeyEquivalent(std::uint32_t key) {
  if (key >= 'a' && key <= 'z') return std::u16string(1, static_cast<char16_t>(key));
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

// Every code the entry field can produce: all modifier combinations with every virtual key
// code and every character a key can report, ASCII and beyond.
std::set<std::uint32_t> CodesTheFieldProduces() {
  std::set<std::uint32_t> codes;
  for (std::uint32_t m = 0; m < 16; ++m) {
    const std::uint32_t flags = m << 17;
    for (std::uint16_t keyCode = 0; keyCode < 128; ++keyCode) {
      for (char16_t c = 0; c < 0x100; ++c) codes.insert(MapToShortcut(flags, keyCode, c));
      for (char16_t c : {u'\uF728', u'\uF746', u'\u00A7', u'\u20AC', u'\uFFFF'}) {
        codes.insert(MapToShortcut(flags, keyCode, c));
      }
    }
  }
  return codes;
}

TEST(MenuHint, EveryFieldShortcutReadsBackToItsKeyAndModifiers) {
  const std::set<std::uint32_t> codes = CodesTheFieldProduces();
  // 16 modifier sets x (94 printable characters minus 26 upper-case letters, 14 special keys
  // from Tab to Space, 12 function keys), and the cleared code 0.
  EXPECT_EQ(codes.size(), 16u * (94 - 26 + 14 + 12) + 1);
  for (std::uint32_t code : codes) {
    if (code == 0) continue;
    const std::string text = ShortcutTextFromCode(code);
    const MenuItemText item = ReadMenuItemText("Capture Window...\t" + MenuHintFromShortcut(text));
    const std::u16string expected = ExpectedKeyEquivalent(code & ShortcutKeyMask);
    ASSERT_FALSE(expected.empty()) << "the field produced a code without a key: " << code;
    EXPECT_EQ(item.title, "Capture Window...") << text;
    EXPECT_EQ(item.keyEquivalent, expected) << text << " -> " << MenuHintFromShortcut(text);
    EXPECT_EQ(item.modifierMask, (code & 0xF0000) << 1) << text;
  }
}

}  // namespace
