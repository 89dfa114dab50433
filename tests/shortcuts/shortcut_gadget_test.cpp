#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"
#include "platform/toolkit.h"
#include "shortcuts/shortcut_gadget.h"

namespace {

constexpr std::uint32_t Shift = ModifierShift;
constexpr std::uint32_t Control = ModifierControl;
constexpr std::uint32_t Option = ModifierOption;
constexpr std::uint32_t Command = ModifierCommand;

class ShortcutField : public ::testing::Test {
 protected:
  void SetUp() override {
    NewWindow(1, IgnoreCoordinate, IgnoreCoordinate, 400, 300, "Preferences", 68);
    for (std::int64_t g = 22; g <= 25; ++g) {
      ASSERT_EQ(NewShortcutGadget(g, 10, 10 + 30 * static_cast<int>(g - 22), 120, 24, 0), g);
    }
    Focus(22);
  }

  void Focus(std::int64_t gadget) {
    platform.toolkit.FocusGadgetByUser(gadget);
    platform.toolkit.HandlePendingEvents();
  }

  // One key press as the desktop reports it; returns the focused field's text afterwards.
  std::string Type(std::uint32_t flags, std::uint16_t keyCode, std::u16string characters,
                   KeyEventType type = KeyEventType::KeyDown) {
    KeyPress press;
    press.type = type;
    press.modifierFlags = flags;
    press.keyCode = keyCode;
    press.characters = std::move(characters);
    platform.toolkit.PressKey(press);
    platform.toolkit.HandlePendingEvents();
    return GetGadgetText(FocusedGadget());
  }

  headless::Platform platform;
};

TEST_F(ShortcutField, ShowsTheCombinationJustPressed) {
  EXPECT_EQ(Type(Command | Shift, 21, u"$"), "⇧⌘4");
  EXPECT_EQ(GetGadgetState(22), 0x90034);
  EXPECT_EQ(Type(Control | Option, 3, u"f"), "⌃⌥F");
  EXPECT_EQ(Type(Shift | Option | Command, 3, u"F"), "⌥⇧⌘F");
  EXPECT_EQ(GetGadgetState(22), 0xD0066);
  EXPECT_EQ(Type(Command, 49, u" "), "⌘Space");
  EXPECT_EQ(Type(Option, 53, u"\x1B"), "⌥⎋");
  EXPECT_EQ(Type(Control, 36, u"\r"), "⌃↩");
  EXPECT_EQ(Type(Command, 115, u"\uF729"), "⌘↖");
  EXPECT_EQ(Type(0, 96, u"\uF708"), "F5");
  EXPECT_EQ(Type(Shift, 24, u"+"), "⇧+");
  EXPECT_EQ(Type(0, 48, u"\t"), "Tab");
  EXPECT_EQ(Type(Command, 12, u"q"), "⌘Q");
}

TEST_F(ShortcutField, KeysItCannotExpressClearIt) {
  EXPECT_EQ(Type(Command, 0, u"a"), "⌘A");
  EXPECT_EQ(Type(0, 105, u"\uF710"), "");  // F13
  EXPECT_EQ(GetGadgetState(22), 0);

  EXPECT_EQ(Type(Command, 0, u"a"), "⌘A");
  EXPECT_EQ(Type(0, 117, u"\uF728"), "");  // forward delete
  EXPECT_EQ(Type(Command, 0, u"a"), "⌘A");
  EXPECT_EQ(Type(0, 10, u"\u00A7"), "");
  EXPECT_EQ(Type(Command, 0, u"a"), "⌘A");
  EXPECT_EQ(Type(Option, 33, u""), "");  // a dead key gives no character
  EXPECT_EQ(Type(Command, 0, u"a"), "⌘A");
  EXPECT_EQ(Type(Command, 76, u"\x03"), "");  // keypad Enter: no key text to show
}

TEST_F(ShortcutField, BackspaceWithAnyModifiersClearsIt) {
  for (std::uint32_t flags : {0u, Shift, Command, Control | Option | Shift | Command}) {
    EXPECT_EQ(Type(Command, 0, u"a"), "⌘A");
    EXPECT_EQ(Type(flags, 51, u"\x7F"), "") << flags;
    EXPECT_EQ(GetGadgetState(22), 0);
  }
}

TEST_F(ShortcutField, OnlyTheFocusedFieldChanges) {
  EXPECT_EQ(Type(Command, 0, u"a"), "⌘A");
  for (std::int64_t g = 23; g <= 25; ++g) {
    EXPECT_EQ(GetGadgetText(g), "");
    EXPECT_EQ(GetGadgetState(g), 0);
  }
  Focus(24);
  EXPECT_EQ(Type(Command, 1, u"s"), "⌘S");
  EXPECT_EQ(GetGadgetText(22), "⌘A");
  EXPECT_EQ(GetGadgetText(23), "");
}

TEST_F(ShortcutField, ModifierKeysAloneAndReleasesChangeNothing) {
  EXPECT_EQ(Type(Command, 0, u"a"), "⌘A");
  EXPECT_EQ(Type(Shift, 56, u"", KeyEventType::FlagsChanged), "⌘A");
  EXPECT_EQ(Type(0, 0, u"a", KeyEventType::KeyUp), "⌘A");
  EXPECT_EQ(GetGadgetState(22), 0x80061);
}

TEST_F(ShortcutField, TextAndStateAreSeparate) {
  SetGadgetText(23, "⌘A");
  EXPECT_EQ(GetGadgetText(23), "⌘A");
  EXPECT_EQ(GetGadgetState(23), 0);

  SetGadgetState(23, 0x4000D);
  EXPECT_EQ(GetGadgetText(23), "⌥↩");
  SetGadgetState(23, 0);
  EXPECT_EQ(GetGadgetText(23), "");

  EXPECT_EQ(NewShortcutGadget(26, 0, 0, 10, 10, 0x20020), 26);
  EXPECT_EQ(GetGadgetText(26), "⌃Space");
  EXPECT_EQ(GetGadgetState(26), 0x20020);
}

TEST_F(ShortcutField, KeyPressGoesNoFurtherAndPostsNothing) {
  // Escape would close the window through its shortcut; in the field it becomes the shortcut.
  AddKeyboardShortcut(1, 27, 4000);
  EXPECT_EQ(Type(0, 53, u"\x1B"), "⎋");
  EXPECT_EQ(Type(0, 36, u"\r"), "↩");
  EXPECT_EQ(NextEvent(0), 0);

  // Without the focus in a field the window's shortcut acts.
  SetGadgetState(22, 0);
  FreeGadget(22);
  Type(0, 53, u"\x1B");
  ASSERT_EQ(NextEvent(0), MenuEvent);
  EXPECT_EQ(EventNumber(), 4000);
}

TEST_F(ShortcutField, AutomaticNumberAndFreeing) {
  const std::int64_t field = NewShortcutGadget(AutoNumber, 0, 0, 100, 24, 0x80071);
  ASSERT_NE(field, 0);
  EXPECT_EQ(GetGadgetText(field), "⌘Q");
  Focus(field);
  EXPECT_EQ(Type(Option, 14, u"e"), "⌥E");

  // A freed field hears no more keys; another field focused later works alone.
  FreeGadget(field);
  FreeGadget(-1);
  Focus(22);
  EXPECT_EQ(Type(Option, 14, u"e"), "");
  EXPECT_EQ(GadgetExists(22), 0);
}

TEST(ShortcutFieldWithoutWindow, CreatesNothing) {
  headless::Platform platform;
  EXPECT_EQ(NewShortcutGadget(22, 0, 0, 100, 24, 0x80061), 0);
  EXPECT_EQ(GadgetExists(22), 0);
}

TEST(MapToShortcut, DigitAndNavigationKeysByPositionOthersByCharacter) {
  EXPECT_EQ(MapToShortcut(Shift, 29, u')'), 0x10030u);
  EXPECT_EQ(MapToShortcut(Command, 122, 0xF704), 0x8017Au);
  const std::pair<std::uint16_t, std::uint32_t> navigation[] = {
      {115, 1}, {119, 4}, {116, 11}, {121, 12}, {123, 28}, {124, 29}, {125, 31}, {126, 30}};
  for (const auto& [keyCode, key] : navigation) {
    EXPECT_EQ(MapToShortcut(Control, keyCode, 0xF700), 0x20000u + key) << keyCode;
  }
  EXPECT_EQ(MapToShortcut(0, 0, u'~'), 0x7Eu);
  EXPECT_EQ(MapToShortcut(0, 0, 0x7F), 0u);
  // Caps Lock and the function-key flag drop out.
  EXPECT_EQ(MapToShortcut(Command | 0x10000 | 0x800000, 0, u'A'), 0x80061u);
}

}  // namespace
