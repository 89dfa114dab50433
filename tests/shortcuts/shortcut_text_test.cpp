#include <gtest/gtest.h>

#include <set>

#include "shortcuts/key_name_map.h"
#include "shortcuts/shortcut_code.h"

namespace {

TEST(ShortcutText, PrintsModifiersInFixedOrderThenTheKey) {
  // 0x80000 is Command and 0x10000 Shift: 0x90061 is Shift+Command+a.
  EXPECT_EQ(ShortcutTextFromCode(0x80061), "⌘A");
  EXPECT_EQ(ShortcutTextFromCode(0x90061), "⇧⌘A");
  EXPECT_EQ(ShortcutTextFromCode(0xF0061), "⌃⌥⇧⌘A");
  EXPECT_EQ(ShortcutTextFromCode(0x50033), "⌥⇧3");
  EXPECT_EQ(ShortcutTextFromCode(0x8002C), "⌘,");
  EXPECT_EQ(ShortcutTextFromCode(0x7A), "Z");
}

TEST(ShortcutText, SpecialKeysShowSymbolOrNameByTheDisplayMask) {
  EXPECT_EQ(ShortcutTextFromCode(0x80000 | 0x17A), "⌘F1");
  EXPECT_EQ(ShortcutTextFromCode(0x20020), "⌃Space");
  EXPECT_EQ(ShortcutTextFromCode(0x8001B), "⌘⎋");
  EXPECT_EQ(ShortcutTextFromCode(0x4000D), "⌥↩");
  EXPECT_EQ(ShortcutTextFromCode(0x9), "Tab");
  EXPECT_EQ(ShortcutTextFromCode(0x5), "Insert");
  EXPECT_EQ(ShortcutTextFromCode(0x8), "⌫");
  EXPECT_EQ(ShortcutTextFromCode(0x7F), "⌦");
  EXPECT_EQ(ShortcutTextFromCode(0x1), "↖");
  EXPECT_EQ(ShortcutTextFromCode(0x4), "↘");
  EXPECT_EQ(ShortcutTextFromCode(0xB), "⇞");
  EXPECT_EQ(ShortcutTextFromCode(0xC), "⇟");
  EXPECT_EQ(ShortcutTextFromCode(31), "↓");
  EXPECT_EQ(ShortcutTextFromCode(28), "←");
  EXPECT_EQ(ShortcutTextFromCode(29), "→");
  EXPECT_EQ(ShortcutTextFromCode(30), "↑");
  EXPECT_EQ(ShortcutTextFromCode(0x16F), "F12");
  EXPECT_EQ(ShortcutTextFromCode(0x160), "F5");
}

TEST(ShortcutText, KeysWithoutTextLeaveOnlyTheModifiers) {
  EXPECT_EQ(ShortcutTextFromCode(0x80003), "⌘");
  EXPECT_EQ(ShortcutTextFromCode(0), "");
  for (std::uint32_t key : {0u, 2u, 3u, 6u, 7u, 10u, 14u, 26u, 128u, 0x100u, 0x17Bu, 0xFFFFu}) {
    EXPECT_EQ(ShortcutTextFromCode(ShortcutShift | key), "⇧") << key;
  }
}

class KeyNames : public ::testing::Test {
 protected:
  void SetUp() override { FillKeyNameMap(); }

  static std::optional<std::uint32_t> CodeOf(std::string_view text) {
    return VirtualKeyCodeOf(ReadShortcutText(text).keyName);
  }
};

TEST_F(KeyNames, MapHoldsAllNamesWithSharedCodesForShiftedSymbols) {
  EXPECT_EQ(KeyNameMap.size(), 101u);
  EXPECT_EQ(KeyNameMap.at(")"), 29u);
  EXPECT_EQ(KeyNameMap.at("0"), 29u);
  EXPECT_EQ(KeyNameMap.at("§"), 10u);
  EXPECT_EQ(KeyNameMap.at("±"), 10u);
  EXPECT_EQ(KeyNameMap.at("\""), 39u);
  EXPECT_EQ(KeyNameMap.at("|"), 42u);
  EXPECT_EQ(KeyNameMap.at("F20"), 90u);
  EXPECT_EQ(KeyNameMap.count("a"), 0u) << "names are case-sensitive, letters upper-case only";
  // Filling again at a later start does not grow or change it.
  FillKeyNameMap();
  EXPECT_EQ(KeyNameMap.size(), 101u);
}

TEST_F(KeyNames, ReadingATextGivesModifierWordAndKeyName) {
  HotkeyKeyName escape = ReadShortcutText("⌘⎋");
  EXPECT_EQ(escape.modifiers, HotkeyCommand);
  EXPECT_EQ(escape.keyName, "Esc");
  EXPECT_EQ(CodeOf("⌘⎋"), 53u);

  HotkeyKeyName ret = ReadShortcutText("⌥↩");
  EXPECT_EQ(ret.modifiers, HotkeyOption);
  EXPECT_EQ(ret.keyName, "Return");
  EXPECT_EQ(CodeOf("⌥↩"), 36u);

  EXPECT_EQ(ReadShortcutText("⇧⌘3").modifiers, HotkeyShift | HotkeyCommand);
  EXPECT_EQ(CodeOf("⇧⌘3"), 20u);
  // The order of the symbols does not matter when reading.
  EXPECT_EQ(ReadShortcutText("⌘⇧3").modifiers, HotkeyShift | HotkeyCommand);
  EXPECT_EQ(CodeOf("⌘⇧3"), 20u);

  HotkeyKeyName all = ReadShortcutText("⌃⌥⇧⌘F12");
  EXPECT_EQ(all.modifiers, 0x1B00u);
  EXPECT_EQ(all.keyName, "F12");
  EXPECT_EQ(CodeOf("F5"), 96u);
  EXPECT_EQ(ReadShortcutText("F5").modifiers, 0u);
  EXPECT_EQ(CodeOf("A"), 0u);
  EXPECT_EQ(CodeOf("⌘Space"), 49u);
  EXPECT_EQ(CodeOf("⌥Tab"), 48u);
}

TEST_F(KeyNames, SymbolsOfTheFieldWithoutAKeyNameGiveNoCode) {
  for (const char* text :
       {"⌘↖", "⌘⇞", "⌘⇟", "⌘↘", "⌘←", "⌘→", "⌘↑", "⌘↓", "⌘⌫", "⌘⌦", "⌘Insert", "⌘", "⌃⌘"}) {
    EXPECT_FALSE(CodeOf(text).has_value()) << text;
  }
  EXPECT_EQ(ReadShortcutText("⌘↖").keyName, "↖");
}

TEST_F(KeyNames, RepeatedModifierSymbolCountsOnce) {
  // Added up, two Command symbols would make the Shift bit.
  EXPECT_EQ(ReadShortcutText("⌘⌘A").modifiers, HotkeyCommand);
}

}  // namespace
