#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"
#include "platform/toolkit.h"
#include "shortcuts/shortcut_gadget.h"

namespace {

constexpr std::uint32_t Shift = ModifierShift, Control = ModifierControl;
constexpr std::uint32_t Option = ModifierOption, Command = ModifierCommand;

// Four shortcut fields in the Preferences window, the first one focused.
class ShortcutField : public ::testing::Test {
 protected:
  void SetUp() override {
    NewWindow(1, IgnoreCoordinate, IgnoreCoordinate, 400, 300, "Preferences", WindowCloseButton);
    for (std::int64_t g = 22; g <= 25; ++g) {
      ASSERT_EQ(NewShortcutGadget(g, 10, 10 + 30 * static_cast<int>(g - 22), 120, 24, 0), g);
    }
    Focus(22);
  }
  void Focus(std::int64_t gadget) {
    platform.toolkit.FocusGadgetByUser(gadget);
    platform.toolkit.HandlePendingEvents();
  }
  // One key press as the desktop reports it; the focused field's text afterwards.
  std::string Type(std::uint32_t flags, std::uint16_t keyCode, std::u16string characters,
                   KeyEventType type = KeyEventType::KeyDown) {
    platform.toolkit.PressKey(KeyPress{type, -1, flags, keyCode, std::move(characters)});
    platform.toolkit.HandlePendingEvents();
    return GetGadgetText(FocusedGadget());
  }

  headless::Platform platform;
};

TEST_F(ShortcutField, ShowsTheCombinationJustPressedAndClearsForKeysItCannotShow) {
  const struct {
    std::uint32_t flags;
    std::uint16_t keyCode;
    std::u16string characters;
    const char* text;
    std::int64_t state;
  } cases[] = {
      {Command | Shift, 21, u"$", "⇧⌘4", 0x90034},  // digits by their key, not the symbol
      {Shift, 29, u")", "⇧0", 0x10030},
      {Control | Option, 3, u"f", "⌃⌥F", 0x60066},
      {Shift | Option | Command, 3, u"F", "⌥⇧⌘F", 0xD0066},
      {Command | 0x10000 | 0x800000, 0, u"A", "⌘A", 0x80061},  // Caps Lock, function flag
      {Command, 49, u" ", "⌘Space", 0x80020},
      {Option, 53, u"\x1B", "⌥⎋", 0x4001B},
      {Control, 36, u"\r", "⌃↩", 0x2000D},
      {Shift, 24, u"+", "⇧+", 0x1002B},
      {0, 0, u"~", "~", 0x7E},
      {Command, 122, u"\uF704", "⌘F1", 0x8017A},
      {0, 96, u"\uF708", "F5", 0x160},
      {Control, 115, u"\uF729", "⌃↖", 0x20001},  // navigation keys by their key
      {Control, 125, u"", "⌃↓", 0x2001F},
      {Control, 126, u"", "⌃↑", 0x2001E},
      {0, 105, u"\uF710", "", 0},  // F13
      {0, 117, u"\uF728", "", 0},  // forward delete
      {0, 10, u"\u00A7", "", 0},
      {Option, 33, u"", "", 0},       // a dead key gives no character
      {Command, 76, u"\x03", "", 0},  // keypad Enter: no key text to show
      {0, 51, u"\x7F", "", 0},        // Backspace, with any modifiers
      {Control | Option | Shift | Command, 51, u"\x7F", "", 0},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Type(Command, 0, u"a"), "⌘A");
    EXPECT_EQ(Type(c.flags, c.keyCode, c.characters), c.text) << c.text;
    EXPECT_EQ(GetGadgetState(22), c.state) << c.text;
  }
}

TEST_F(ShortcutField, OnlyTheFocusedFieldTakesKeyDownsAndNothingGoesFurther) {
  AddKeyboardShortcut(1, KeyEscape, 4000);  // would close the window outside a field
  EXPECT_EQ(Type(Command, 0, u"a"), "⌘A");
  EXPECT_EQ(Type(Shift, 56, u"", KeyEventType::FlagsChanged), "⌘A");
  EXPECT_EQ(Type(0, 0, u"b", KeyEventType::KeyUp), "⌘A");
  Focus(24);
  EXPECT_EQ(Type(0, 53, u"\x1B"), "⎋");
  EXPECT_EQ(GetGadgetText(22), "⌘A");
  EXPECT_EQ(GetGadgetText(23) + GetGadgetText(25), "");
  EXPECT_EQ(GetGadgetState(23), 0);
  EXPECT_EQ(NextEvent(0), 0) << "the field posts nothing";

  FreeGadget(24);
  Type(0, 53, u"\x1B");
  ASSERT_EQ(NextEvent(0), MenuEvent) << "without a focused field the window's shortcut acts";
  EXPECT_EQ(EventNumber(), 4000);
}

TEST_F(ShortcutField, TheStateWritesTheTextNotTheReverseAndAFreedFieldHearsNoMore) {
  SetGadgetText(23, "⌘A");
  EXPECT_EQ(GetGadgetState(23), 0);
  SetGadgetState(23, 0x4000D);
  EXPECT_EQ(GetGadgetText(23), "⌥↩");
  const std::int64_t field = NewShortcutGadget(AutoNumber, 0, 0, 100, 24, 0x80071);
  ASSERT_GT(field, 0);
  EXPECT_EQ(GetGadgetText(field) + std::to_string(GetGadgetState(field)), "⌘Q524401");
  Focus(field);
  EXPECT_EQ(Type(Option, 14, u"e"), "⌥E");
  FreeGadget(-1);
  EXPECT_FALSE(GadgetExists(22));
  EXPECT_EQ(Type(Option, 14, u"e"), "");
  DestroyWindow(1);
  EXPECT_EQ(NewShortcutGadget(22, 0, 0, 100, 24, 0x80061), 0) << "no window";
  EXPECT_FALSE(GadgetExists(22));
}

}  // namespace
