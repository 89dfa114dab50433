#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"
#include "platform/toolkit.h"
#include "platform/window_shortcut.h"

namespace {

KeyPress Press(std::uint32_t flags, std::uint16_t keyCode, std::u16string characters) {
  KeyPress press;
  press.modifierFlags = flags;
  press.keyCode = keyCode;
  press.characters = std::move(characters);
  return press;
}

TEST(WindowShortcut, MadeFromCodeAndItem) {
  const LxShortcut escape = MakeLxShortcut(27, 4000);
  EXPECT_EQ(escape.Key, 27u);
  EXPECT_EQ(escape.modifiers, 0u);
  EXPECT_EQ(escape.character, 27);
  EXPECT_EQ(escape.keyCode, 0);
  EXPECT_EQ(escape.EventMenuID, 4000);

  const LxShortcut home = MakeLxShortcut(0x80001, 7);
  EXPECT_EQ(home.modifiers, 0x80000u);
  EXPECT_EQ(home.character, 0xF729);
  EXPECT_EQ(MakeLxShortcut(8, 1).character, 127);
  EXPECT_EQ(MakeLxShortcut(127, 1).character, 0xF728);
  EXPECT_EQ(MakeLxShortcut(31, 1).character, 0xF701);
  EXPECT_EQ(MakeLxShortcut(133, 1).character, u'3');
}

TEST(WindowShortcut, ShiftChangesTheCharacterItMatches) {
  EXPECT_EQ(MakeLxShortcut(0x10061, 1).character, u'A');
  EXPECT_EQ(MakeLxShortcut(0x10009, 1).character, 25);
  EXPECT_EQ(MakeLxShortcut(0x1002B, 1).character, u'*');
  EXPECT_EQ(MakeLxShortcut(0x1002C, 1).character, u';');
  EXPECT_EQ(MakeLxShortcut(0x1002D, 1).character, u'_');
  EXPECT_EQ(MakeLxShortcut(0x1002E, 1).character, u':');
  EXPECT_EQ(MakeLxShortcut(0x80061, 1).character, u'a');
  EXPECT_EQ(MakeLxShortcut(0x0002B, 1).character, u'+');

  EXPECT_TRUE(WindowShortcutMatches(MakeLxShortcut(0x10061, 1), Press(ModifierShift, 0, u"A")));
  EXPECT_FALSE(WindowShortcutMatches(MakeLxShortcut(0x10061, 1), Press(ModifierShift, 0, u"a")));
  EXPECT_TRUE(WindowShortcutMatches(MakeLxShortcut(0x00061, 1), Press(0, 0, u"a")));
  // Beside Command the event still reports the shifted character.
  const LxShortcut shiftCommandA = MakeLxShortcut(0x90061, 1);
  EXPECT_TRUE(
      WindowShortcutMatches(shiftCommandA, Press(ModifierShift | ModifierCommand, 0, u"A")));
}

TEST(WindowShortcut, ModifiersMustMatchExactly) {
  const LxShortcut commandW = MakeLxShortcut(0x80077, 1);
  EXPECT_TRUE(WindowShortcutMatches(commandW, Press(ModifierCommand, 13, u"w")));
  EXPECT_FALSE(WindowShortcutMatches(commandW, Press(0, 13, u"w")));
  EXPECT_FALSE(WindowShortcutMatches(commandW, Press(ModifierCommand | ModifierOption, 13, u"w")));
  // Caps Lock (0x10000) and the numeric-pad flag (0x200000) drop out.
  EXPECT_TRUE(
      WindowShortcutMatches(commandW, Press(ModifierCommand | 0x10000 | 0x200000, 13, u"w")));
  KeyPress up = Press(ModifierCommand, 13, u"w");
  up.type = KeyEventType::KeyUp;
  EXPECT_FALSE(WindowShortcutMatches(commandW, up));
}

TEST(WindowShortcut, DigitsAndFunctionKeysMatchByVirtualKeyCode) {
  const LxShortcut commandFour = MakeLxShortcut(0x80034, 1);
  EXPECT_EQ(commandFour.keyCode, 21);
  EXPECT_TRUE(WindowShortcutMatches(commandFour, Press(ModifierCommand, 21, u"$")));
  EXPECT_FALSE(WindowShortcutMatches(commandFour, Press(ModifierCommand, 86, u"4")));
  EXPECT_EQ(MakeLxShortcut(0x30, 1).keyCode, 29);
  EXPECT_EQ(MakeLxShortcut(0x39, 1).keyCode, 25);

  const LxShortcut f5 = MakeLxShortcut(0x160, 1);
  EXPECT_EQ(f5.keyCode, 96);
  EXPECT_TRUE(WindowShortcutMatches(f5, Press(0, 96, u"\uF708")));
  EXPECT_FALSE(WindowShortcutMatches(f5, Press(0, 97, u"\uF708")));
  EXPECT_EQ(MakeLxShortcut(0x17A, 1).keyCode, 122);
  // Only the twelve function-key codes are matched by key code.
  EXPECT_EQ(MakeLxShortcut(0x150, 1).keyCode, 0);
}

TEST(WindowShortcut, CharacterMustBeExactlyOneAndThreeCountsAsReturn) {
  const LxShortcut ret = MakeLxShortcut(13, 1);
  EXPECT_TRUE(WindowShortcutMatches(ret, Press(0, 36, u"\r")));
  EXPECT_TRUE(WindowShortcutMatches(ret, Press(0, 76, u"\x03")));
  EXPECT_FALSE(WindowShortcutMatches(ret, Press(0, 36, u"")));
  EXPECT_FALSE(WindowShortcutMatches(ret, Press(0, 36, u"\r\r")));
}

TEST(WindowShortcut, MatchPostsMenuEventOnlyForItsWindow) {
  headless::Platform platform;
  NewWindow(2, 0, 0, 200, 100, "", 0);
  NewWindow(3, 0, 0, 200, 100, "", 0);
  AddKeyboardShortcut(2, 27, 4000);
  AddKeyboardShortcut(2, 27, 4001);  // the same code replaces the entry

  KeyPress escape = Press(0, 53, u"\x1B");
  escape.window = 3;
  platform.toolkit.PressKey(escape);
  platform.toolkit.HandlePendingEvents();
  EXPECT_EQ(NextEvent(0), 0);

  escape.window = 2;
  platform.toolkit.PressKey(escape);
  platform.toolkit.HandlePendingEvents();
  ASSERT_EQ(NextEvent(0), MenuEvent);
  EXPECT_EQ(EventNumber(), 4001);
  EXPECT_EQ(EventWindowNumber(), 2);
  EXPECT_EQ(NextEvent(0), 0);
}

}  // namespace
