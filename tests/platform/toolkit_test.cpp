#include <gtest/gtest.h>

#include <string>

#include "platform/command_numbers.h"
#include "platform/headless/headless_platform.h"
#include "platform/toolkit.h"
#include "support/scratch_folder.h"

// The toolkit's portable core, seen through the headless desktop: numbering, the "no object"
// rule, key hooks and window shortcuts, menus, images and window looks.

namespace {

class ToolkitTest : public ::testing::Test {
 protected:
  headless::Platform platform;
  headless::Toolkit& desk = platform.toolkit;
};

TEST_F(ToolkitTest, OperationsOnNumbersWithoutObjectsDoNothing) {
  EXPECT_EQ(NewTextGadget(5, 0, 0, 10, 10, "no window yet"), 0);
  DisableGadget(99, 1);
  SetGadgetState(99, 1);
  SetGadgetText(99, "x");
  FreeGadget(99);
  DestroyWindow(99);
  MoveWindow(99, 1, 2, 3, 4);
  SetMenuItemTitle(99, 1, "x");
  SetStatusItemImage(99);
  RemoveTimer(99);
  EXPECT_EQ(GetGadgetState(99) + WindowExists(99) + WindowContentWidth(99) + ImageWidth(99), 0);
  EXPECT_EQ(GetGadgetText(99) + GetWindowTitle(99) + GetGadgetItemText(99, 0), "");
  EXPECT_EQ(GadgetHandle(99), nullptr);
  EXPECT_EQ(WindowObject(99), nullptr);
  EXPECT_EQ(FontHandle(99), nullptr);
  EXPECT_EQ(NextEvent(0), 0) << "nothing was posted";
}

TEST_F(ToolkitTest, GadgetsGoIntoTheLatestWindowAndWithItsEvents) {
  const std::int64_t a = NewWindow(AutoNumber, 0, 0, 100, 50, "A", WindowCloseButton);
  const std::int64_t b = NewWindow(AutoNumber, 0, 0, 100, 50, "B", WindowCloseButton);
  ASSERT_NE(a, 0);
  EXPECT_NE(a, b);
  EXPECT_EQ(GetWindowTitle(a), "A");
  const std::int64_t label = NewTextGadget(AutoNumber, 1, 2, 30, 20, "label");
  EXPECT_EQ(GetGadgetText(label), "label");
  EXPECT_EQ(GadgetWindow(label), b);
  NewWindow(1, 0, 0, 300, 200, "", WindowCloseButton);
  NewCheckboxGadget(12, 5, 5, 100, 20, "Sound");
  NewWindow(2, 0, 0, 300, 200, "", WindowCloseButton);
  NewButtonGadget(13, 0, 0, 50, 20, "OK");
  EXPECT_EQ(GadgetWindow(12), 1);

  desk.PressCloseButton(1);
  desk.ClickGadget(12);
  desk.PressCloseButton(2);
  desk.HandlePendingEvents();
  QueueEvent(HotkeyEvent1, HotkeyWindow, HotkeyWindow, HotkeyWindow, PostCustom);
  DestroyWindow(1);
  EXPECT_FALSE(GadgetExists(12));
  EXPECT_TRUE(GadgetExists(13));
  EXPECT_EQ(desk.FindGadget(12), nullptr);
  ASSERT_EQ(NextEvent(0), CloseWindowEvent) << "the close and click of window 1 went with it";
  EXPECT_EQ(EventWindowNumber(), 2);
  EXPECT_EQ(NextEvent(0), HotkeyEvent1) << "events of no window stay";
  EXPECT_EQ(NextEvent(0), 0);
  EXPECT_EQ(NewTextGadget(14, 0, 0, 1, 1, "x"), 14) << "window 2 is still current";
  DestroyWindow(2);
  EXPECT_EQ(NewTextGadget(15, 0, 0, 1, 1, "x"), 0) << "no current window";
}

struct HookLog {
  int calls = 0;
  int answer = 0;
  std::int64_t removes = 0;
};

int LogHook(const KeyPress&, void* context) {
  auto* log = static_cast<HookLog*>(context);
  ++log->calls;
  if (log->removes != 0) RemoveKeyHook(log->removes);
  return log->answer;
}

KeyPress Key(std::uint32_t flags, std::uint16_t code, std::u16string characters,
             KeyEventType type = KeyEventType::KeyDown) {
  return KeyPress{type, 3, flags, code, std::move(characters)};
}

TEST_F(ToolkitTest, EveryKeyHookSeesEachKeyAndAnyOneConsumesIt) {
  NewWindow(3, 0, 0, 220, 190, "", WindowBorderless);
  AddKeyboardShortcut(3, KeyEscape, 4000);
  HookLog consumer{0, 1}, watcher;
  const std::int64_t consuming = AddKeyHook(LogHook, &consumer);
  AddKeyHook(LogHook, &watcher);
  desk.PressKey(Key(0, 53, u"\x1b"));
  EXPECT_EQ(NextEvent(0), -1) << "a consumed key reaches no window shortcut";
  EXPECT_EQ(watcher.calls, 1) << "hooks after the consuming one are still called";

  RemoveKeyHook(consuming);
  HookLog victim;
  watcher.removes = AddKeyHook(LogHook, &victim);
  desk.PressKey(Key(0, 53, u"\x1b"));
  ASSERT_EQ(NextEvent(0), MenuEvent);
  EXPECT_EQ(EventNumber(), 4000);
  EXPECT_EQ(EventWindowNumber(), 3);
  EXPECT_EQ(consumer.calls, 1);
  EXPECT_EQ(victim.calls, 0) << "a hook removed by an earlier one is not called";
}

TEST_F(ToolkitTest, AWindowShortcutMatchesItsModifiersExactlyAndItsCharacterOrKey) {
  constexpr std::uint32_t Shift = ModifierShift, Cmd = ModifierCommand;
  constexpr std::uint32_t Cs = ShortcutCommand, Ss = ShortcutShift;
  struct Case {
    std::uint32_t code;
    KeyPress press;
    bool matches;
  };
  const Case cases[] = {
      {KeyEscape, Key(0, 53, u"\x1b"), true},
      {KeyEscape, Key(Shift, 53, u"\x1b"), false},
      {KeyEscape, Key(0, 53, u"\x1b", KeyEventType::KeyUp), false},
      {Cs | 'w', Key(Cmd, 13, u"w"), true},
      {Cs | 'w', Key(0, 13, u"w"), false},
      {Cs | 'w', Key(Cmd | ModifierOption, 13, u"w"), false},
      {Cs | 'w', Key(Cmd | 0x10000 | 0x200000, 13, u"w"), true},  // Caps Lock, keypad flag
      {Ss | 'a', Key(Shift, 0, u"A"), true},  // events report the shifted character
      {Ss | 'a', Key(Shift, 0, u"a"), false},
      {Ss | Cs | 'a', Key(Shift | Cmd, 0, u"A"), true},
      {Ss | KeyTab, Key(Shift, 48, u"\x19"), true},
      {Ss | '+', Key(Shift, 30, u"*"), true},
      {Ss | ',', Key(Shift, 43, u";"), true},
      {'+', Key(0, 30, u"+"), true},
      {Cs | '4', Key(Cmd, 21, u"$"), true},  // digits by their key
      {Cs | '4', Key(Cmd, 86, u"4"), false},
      {'0', Key(0, 29, u")"), true},
      {FunctionKeyCode(5), Key(0, 96, u"\uF708"), true},
      {FunctionKeyCode(5), Key(0, 97, u"\uF708"), false},
      {FunctionKeyCode(1), Key(0, 122, u""), true},
      {0x150, Key(0, 80, u"\u0150"), true},  // not a function key: by character
      {0x150, Key(0, 80, u"x"), false},
      {KeyReturn, Key(0, 36, u"\r"), true},
      {KeyReturn, Key(0, 76, u"\x03"), true},  // keypad Enter
      {KeyReturn, Key(0, 36, u""), false},
      {KeyReturn, Key(0, 36, u"\r\r"), false},
      {KeyHome, Key(0, 115, u"\uF729"), true},
      {KeyDelete, Key(0, 117, u"\uF728"), true},
      {KeyDown, Key(0, 125, u"\uF701"), true},
      {KeyBackspace, Key(0, 51, u"\x7f"), true},
      {KeyKeypad0 + 3, Key(0, 85, u"3"), true},
  };
  NewWindow(3, 0, 0, 320, 80, "", 0);
  NewWindow(4, 0, 0, 320, 80, "", 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "code 0x" << std::hex << c.code);
    AddKeyboardShortcut(4, c.code, 4100);
    AddKeyboardShortcut(3, c.code, 4001);
    AddKeyboardShortcut(3, c.code, 4000);  // the same code replaces the entry
    desk.PressKey(c.press);
    const std::int32_t kind = NextEvent(0);
    EXPECT_EQ(kind == MenuEvent && EventNumber() == 4000 && EventWindowNumber() == 3, c.matches);
    EXPECT_EQ(NextEvent(0), 0);
    RemoveKeyboardShortcut(3, c.code);
    desk.PressKey(c.press);
    EXPECT_EQ(NextEvent(0), -1) << "removed";
  }
}

TEST_F(ToolkitTest, AWindowLookNeedsAWindowAndKeepsItsValuesInRange) {
  SetWindowBackground(7, 0xFFFFFF, 12);
  EXPECT_EQ(desk.LookOf(7).background, -1) << "no window: nothing";
  NewWindow(7, 0, 0, 220, 190, "", WindowBorderless);
  SetWindowBackground(7, 0x1234567, -3);
  SetWindowOpacity(7, 1.5);
  EXPECT_EQ(desk.LookOf(7).background, 0x234567) << "a colour is three bytes";
  EXPECT_EQ(desk.LookOf(7).cornerRadius, 0);
  EXPECT_DOUBLE_EQ(desk.LookOf(7).opacity, 1.0);
  SetWindowOpacity(7, -0.5);
  EXPECT_DOUBLE_EQ(desk.LookOf(7).opacity, 0.0);
  SetWindowBackground(7, 0x000000, 12);
  EXPECT_EQ(desk.LookOf(7).cornerRadius, 12);
}

}  // namespace
