#include <gtest/gtest.h>

#include <string>

#include "platform/gadget_behaviour.h"
#include "platform/headless/headless_platform.h"
#include "platform/toolkit.h"
#include "support/scratch_folder.h"

namespace {

class ToolkitTest : public ::testing::Test {
 protected:
  headless::Platform platform;
  headless::Toolkit& desk = platform.toolkit;

  std::int32_t Next() { return NextEvent(0); }
};

TEST_F(ToolkitTest, OperationsOnNumbersWithoutObjectsDoNothing) {
  DisableGadget(99, 1);
  SetGadgetState(99, 1);
  GadgetToolTip(99, "tip");
  SetGadgetText(99, "x");
  FreeGadget(99);
  DestroyWindow(99);
  MoveWindow(99, 1, 2, 3, 4);
  SetMenuItemDisabled(99, 1, 1);
  SetMenuItemTitle(99, 1, "x");
  SetStatusItemImage(99);
  RemoveTimer(99);
  EXPECT_EQ(GetGadgetState(99), 0);
  EXPECT_EQ(GetGadgetText(99), "");
  EXPECT_EQ(GadgetHandle(99), nullptr);
  EXPECT_EQ(WindowExists(99), 0);
  EXPECT_EQ(WindowObject(99), nullptr);
  EXPECT_EQ(WindowContentWidth(99), 0);
  EXPECT_EQ(ImageHandle(99), nullptr);
  EXPECT_EQ(FontHandle(99), nullptr);
  EXPECT_EQ(NewTextGadget(5, 0, 0, 10, 10, "no window yet"), 0);
  EXPECT_EQ(Next(), 0) << "nothing was posted";
}

TEST_F(ToolkitTest, AutoNumberChoosesDistinctNumbersTheCallerThenUses) {
  const std::int64_t a = NewWindow(AutoNumber, 0, 0, 100, 50, "A", WindowHidden);
  const std::int64_t b = NewWindow(AutoNumber, 0, 0, 100, 50, "B", WindowHidden);
  ASSERT_NE(a, 0);
  ASSERT_NE(b, 0);
  EXPECT_NE(a, b);
  EXPECT_EQ(GetWindowTitle(a), "A");
  const std::int64_t label = NewTextGadget(AutoNumber, 1, 2, 30, 20, "label");
  EXPECT_EQ(GetGadgetText(label), "label");
  EXPECT_EQ(GadgetWindow(label), b) << "gadgets belong to the most recently opened window";
}

TEST_F(ToolkitTest, GadgetsAreCreatedInTheCurrentWindowAndFreedWithIt) {
  NewWindow(1, 10, 20, 300, 200, "Prefs", WindowCloseButton);
  NewCheckboxGadget(12, 5, 5, 100, 20, "Sound");
  NewWindow(2, 0, 0, 220, 190, "", WindowBorderless | WindowHidden);
  NewButtonGadget(13, 0, 0, 50, 20, "OK");
  EXPECT_EQ(GadgetWindow(12), 1);
  EXPECT_EQ(GadgetWindow(13), 2);
  EXPECT_EQ(desk.FindWindow(1)->gadgets.size(), 1u);

  DestroyWindow(1);
  EXPECT_FALSE(GadgetExists(12));
  EXPECT_TRUE(GadgetExists(13));
  EXPECT_EQ(desk.FindGadget(12), nullptr);
  EXPECT_EQ(NewTextGadget(14, 0, 0, 1, 1, "x"), 14) << "window 2 is still current";
}

TEST_F(ToolkitTest, WindowFlagsDecideVisibilityAndCentring) {
  desk.SetDisplays({{0, 0, 1000, 800}, {1000, 0, 500, 500}});
  NewWindow(1, IgnoreCoordinate, IgnoreCoordinate, 200, 100, "", WindowCloseButton);
  const headless::Window* w = desk.FindWindow(1);
  EXPECT_TRUE(w->visible);
  EXPECT_EQ(w->frame.x, 400);
  EXPECT_EQ(w->frame.y, 350);
  NewWindow(3, 260, 100, 320, 80, "", 69);
  EXPECT_FALSE(desk.FindWindow(3)->visible);
  EXPECT_EQ(ActiveWindow(), 1) << "a hidden window does not take the focus";

  MoveWindow(1, 1100, IgnoreCoordinate, IgnoreCoordinate, 120);
  EXPECT_EQ(WindowX(1), 1100);
  EXPECT_EQ(WindowY(1), 350);
  EXPECT_EQ(WindowContentWidth(1), 200);
  EXPECT_EQ(WindowContentHeight(1), 120);
  SetWindowFloating(1, 1);
  EXPECT_TRUE(desk.FindWindow(1)->floating);
}

TEST_F(ToolkitTest, CloseButtonLeavesTheWindowOpenAndDestroyDiscardsItsQueuedEvents) {
  NewWindow(1, 0, 0, 300, 200, "Prefs", 68);
  NewCheckboxGadget(15, 0, 0, 10, 10, "Mouse");
  NewWindow(2, 0, 0, 300, 200, "Other", 68);
  desk.PressCloseButton(1);
  desk.ClickGadget(15);
  desk.PressCloseButton(2);
  desk.HandlePendingEvents();
  EXPECT_TRUE(WindowExists(1));
  EXPECT_TRUE(desk.FindWindow(1)->visible);

  QueueEvent(0x10001, -65535, -65535, -65535, PostCustom);
  DestroyWindow(1);
  ASSERT_EQ(Next(), CloseWindowEvent);
  EXPECT_EQ(EventWindowNumber(), 2);
  EXPECT_EQ(Next(), 0x10001);
  EXPECT_EQ(Next(), 0) << "the close and click events of window 1 went with it";
}

TEST_F(ToolkitTest, WindowWithoutCloseButtonPostsNoCloseEvent) {
  NewWindow(2, 0, 0, 220, 190, "", WindowBorderless);
  desk.PressCloseButton(2);
  desk.HandlePendingEvents();
  EXPECT_EQ(Next(), 0);
}

TEST_F(ToolkitTest, CheckboxReportsItsClickAfterToggling) {
  NewWindow(1, 0, 0, 300, 200, "Prefs", 68);
  NewCheckboxGadget(16, 0, 0, 100, 20, "Shadow");
  SetGadgetState(16, 1);
  EXPECT_EQ(Next(), 0) << "setting a state posts nothing";
  desk.ClickGadget(16);
  ASSERT_EQ(NextEvent(), GadgetEvent);
  EXPECT_EQ(EventNumber(), 16);
  EXPECT_EQ(EventSubtype(), SubtypeClick);
  EXPECT_EQ(GetGadgetState(16), 0) << "the handler already sees the new state";
}

TEST_F(ToolkitTest, PopUpReportsEverySelectionEvenOfTheSelectedItem) {
  NewWindow(1, 0, 0, 300, 200, "Prefs", 68);
  NewComboBoxGadget(18, 0, 0, 100, 20, 0);
  for (const char* item : {"PNG", "JPEG", "TIFF"}) AddGadgetItem(18, -1, item);
  AddGadgetItem(18, 0, "First");
  EXPECT_EQ(CountGadgetItems(18), 4);
  EXPECT_EQ(GetGadgetItemText(18, 0), "First");
  SetGadgetState(18, 2);
  desk.SelectGadgetItem(18, 2);
  desk.SelectGadgetItem(18, 2);
  ASSERT_EQ(NextEvent(), GadgetEvent);
  EXPECT_EQ(EventSubtype(), SubtypeChange);
  ASSERT_EQ(NextEvent(), GadgetEvent) << "each selection is its own system event";
  EXPECT_EQ(GetGadgetState(18), 2);
  EXPECT_EQ(GetGadgetText(18), "JPEG");
}

TEST_F(ToolkitTest, EditableComboReportsFocusTypingAndEndOfEditing) {
  NewWindow(1, 0, 0, 300, 200, "Prefs", 68);
  NewComboBoxGadget(19, 0, 0, 100, 20, ComboEditable);
  NewButtonGadget(20, 0, 30, 100, 20, "OK");
  desk.FocusGadgetByUser(19);
  desk.TypeInGadget(19, "ab");
  desk.FocusGadgetByUser(20);
  std::vector<std::int64_t> types;
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(NextEvent(), GadgetEvent);
    types.push_back(EventSubtype());
  }
  EXPECT_EQ(types, (std::vector<std::int64_t>{SubtypeFocus, SubtypeChange, SubtypeEditEnd}));
  EXPECT_EQ(GetGadgetText(19), "ab");
}

TEST_F(ToolkitTest, DisabledGadgetsIgnoreClicks) {
  NewWindow(1, 0, 0, 300, 200, "Prefs", 68);
  NewButtonGadget(21, 0, 0, 100, 20, "Choose");
  DisableGadget(21, 1);
  desk.ClickGadget(21);
  desk.HandlePendingEvents();
  EXPECT_EQ(Next(), 0);
  DisableGadget(21, 0);
  desk.ClickGadget(21);
  EXPECT_EQ(NextEvent(), GadgetEvent);
}

TEST_F(ToolkitTest, GadgetAppearanceOperationsReachTheDesktop) {
  NewWindow(1, 0, 0, 300, 200, "Prefs", 68);
  NewTextGadget(22, 0, 0, 100, 20, "label");
  GadgetToolTip(22, "hover");
  SetGadgetColor(22, ColorFront, 0x1122FF);
  const std::int64_t font = NewFont(AutoNumber, "Sans", 11);
  SetGadgetFont(22, font);
  SetGadgetFont(DefaultFont, font);
  NewTextGadget(23, 0, 0, 100, 20, "later");
  const headless::Gadget* g = desk.FindGadget(22);
  EXPECT_EQ(g->toolTip, "hover");
  EXPECT_EQ(g->color, 0x1122FF);
  ASSERT_NE(g->font, nullptr);
  EXPECT_EQ(g->font->size, 11);
  EXPECT_EQ(desk.FindGadget(23)->font, g->font) << "the default font applies to new gadgets";
  SetGadgetColor(22, ColorFront, -1);
  EXPECT_EQ(g->color, -1);
}

class CountingBehaviour final : public LxGadgetFunctions {
 public:
  explicit CountingBehaviour(int& alive) : alive_(alive) { ++alive_; }
  ~CountingBehaviour() override { --alive_; }
  void SetGadgetState(std::int64_t state) override { state_ = state * 10; }
  std::int64_t GetGadgetState() override { return state_; }

 private:
  int& alive_;
  std::int64_t state_ = 0;
};

TEST_F(ToolkitTest, BehaviourGadgetsOwnTheirStateAndDieWithTheGadget) {
  int alive = 0;
  NewWindow(1, 0, 0, 300, 200, "Prefs", 68);
  GadgetSpec spec;
  spec.kind = GadgetKind::Shortcut;
  NewBehaviourGadget(22, spec, std::make_unique<CountingBehaviour>(alive));
  EXPECT_EQ(alive, 1);
  SetGadgetState(22, 4);
  EXPECT_EQ(GetGadgetState(22), 40);
  SetGadgetText(22, "text");
  EXPECT_EQ(GetGadgetText(22), "text");
  EXPECT_EQ(GetGadgetState(22), 40) << "text and state are separate";
  DestroyWindow(1);
  EXPECT_EQ(alive, 0);
}

struct HookLog {
  int calls = 0;
  int answer = 0;
};

int LogHook(const KeyPress&, void* context) {
  auto* log = static_cast<HookLog*>(context);
  ++log->calls;
  return log->answer;
}

KeyPress Key(std::int64_t window, std::uint32_t flags, std::uint16_t code, char16_t c) {
  KeyPress press;
  press.window = window;
  press.modifierFlags = flags;
  press.keyCode = code;
  press.characters = std::u16string(1, c);
  return press;
}

TEST_F(ToolkitTest, EveryKeyHookSeesEachKeyAndAnyOneConsumesIt) {
  NewWindow(2, 0, 0, 220, 190, "", WindowBorderless);
  AddKeyboardShortcut(2, 27, 4000);
  HookLog first{0, 1}, second{0, 0};
  const std::int64_t h1 = AddKeyHook(LogHook, &first);
  AddKeyHook(LogHook, &second);
  desk.PressKey(Key(2, 0, 53, 27));
  desk.HandlePendingEvents();
  EXPECT_EQ(first.calls, 1);
  EXPECT_EQ(second.calls, 1) << "hooks after the consuming one are still called";
  EXPECT_EQ(Next(), 0) << "a consumed key reaches no window shortcut";

  RemoveKeyHook(h1);
  desk.PressKey(Key(2, 0, 53, 27));
  ASSERT_EQ(NextEvent(), MenuEvent);
  EXPECT_EQ(EventNumber(), 4000);
  EXPECT_EQ(EventWindowNumber(), 2);
}

struct RemovingHook {
  std::int64_t victim = 0;
  int calls = 0;
};

int RemoveOtherHook(const KeyPress&, void* context) {
  auto* self = static_cast<RemovingHook*>(context);
  ++self->calls;
  RemoveKeyHook(self->victim);
  return 0;
}

TEST_F(ToolkitTest, AHookRemovedByAnEarlierHookIsNotCalled) {
  RemovingHook remover;
  HookLog victim{0, 0};
  AddKeyHook(RemoveOtherHook, &remover);
  remover.victim = AddKeyHook(LogHook, &victim);
  desk.PressKey(Key(-1, 0, 53, 27));
  desk.HandlePendingEvents();
  EXPECT_EQ(remover.calls, 1);
  EXPECT_EQ(victim.calls, 0);
}

TEST_F(ToolkitTest, WindowShortcutsMatchModifiersExactlyAndTheRightKey) {
  NewWindow(3, 0, 0, 320, 80, "", 68);
  AddKeyboardShortcut(3, 27, 4000);               // Escape
  AddKeyboardShortcut(3, 0x80000 | 'w', 4001);    // Command+W
  AddKeyboardShortcut(3, 0x10000 | 'a', 4002);    // Shift+A: the event character is "A"
  AddKeyboardShortcut(3, 0x80000 | '1', 4003);    // digits by key code (18)
  AddKeyboardShortcut(3, 0x80000 | 0x160, 4004);  // Command+F5 by key code 96
  AddKeyboardShortcut(3, 13, 4005);               // Return, also the keypad's character 3

  auto itemFor = [&](const KeyPress& press) -> std::int64_t {
    desk.PressKey(press);
    const std::int32_t kind = NextEvent();
    return kind == MenuEvent ? EventNumber() : -1;
  };
  EXPECT_EQ(itemFor(Key(3, 0, 53, 27)), 4000);
  EXPECT_EQ(itemFor(Key(3, ModifierShift, 53, 27)), -1) << "extra modifier";
  EXPECT_EQ(itemFor(Key(3, ModifierCommand, 13, 'w')), 4001);
  EXPECT_EQ(itemFor(Key(3, ModifierCommand | ModifierShift, 13, 'W')), -1);
  EXPECT_EQ(itemFor(Key(3, ModifierShift, 0, 'A')), 4002);
  EXPECT_EQ(itemFor(Key(3, ModifierCommand, 18, '!')), 4003) << "the key, not its character";
  EXPECT_EQ(itemFor(Key(3, ModifierCommand, 19, '1')), -1);
  EXPECT_EQ(itemFor(Key(3, ModifierCommand, 96, 0xF708)), 4004);
  EXPECT_EQ(itemFor(Key(3, 0, 76, 3)), 4005);
  EXPECT_EQ(itemFor(Key(4, 0, 53, 27)), -1) << "another window's key";

  AddKeyboardShortcut(3, 27, 4100);  // the same code replaces the entry
  EXPECT_EQ(itemFor(Key(3, 0, 53, 27)), 4100);
  RemoveKeyboardShortcut(3, 27);
  EXPECT_EQ(itemFor(Key(3, 0, 53, 27)), -1);
}

TEST_F(ToolkitTest, KeyUpAndModifierOnlyEventsMatchNoShortcut) {
  NewWindow(3, 0, 0, 320, 80, "", 68);
  AddKeyboardShortcut(3, 27, 4000);
  KeyPress up = Key(3, 0, 53, 27);
  up.type = KeyEventType::KeyUp;
  desk.PressKey(up);
  desk.HandlePendingEvents();
  EXPECT_EQ(Next(), 0);
}

TEST_F(ToolkitTest, MenusKeepNumbersTitlesHintsAndEnabledStates) {
  NewPopupMenu(0);
  AddMenuItem(0, 1, "Capture Entire Screen\t");
  AddMenuItem(0, 2, "Capture Window...\tShift+Cmd+W");
  AddMenuSeparator(0);
  OpenSubMenu(0, "More...");
  AddMenuItem(0, 6, "&About");
  CloseSubMenu(0);
  AddMenuItem(0, 9, "Quit\tCmd+Q");

  const headless::MenuItem* window = desk.FindMenuItem(0, 2);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->title, "Capture Window...");
  EXPECT_EQ(window->keyEquivalent, "w");
  EXPECT_EQ(window->modifierMask, 0x20000u | 0x100000u);
  EXPECT_EQ(desk.FindMenuItem(0, 6)->title, "About");
  EXPECT_EQ(desk.FindMenuItem(0, 1)->keyEquivalent, "");

  SetMenuItemDisabled(0, 6, 1);
  desk.ChooseMenuItem(0, 6);
  desk.HandlePendingEvents();
  EXPECT_EQ(Next(), 0) << "a disabled item cannot be chosen";
  SetMenuItemDisabled(0, 6, 0);
  SetMenuItemTitle(0, 1, "Capture Entire Screen (3 sec Timer)\tCmd+F1");
  EXPECT_EQ(desk.FindMenuItem(0, 1)->title, "Capture Entire Screen (3 sec Timer)");
  EXPECT_EQ(desk.FindMenuItem(0, 1)->keyEquivalent, "\uF704");

  desk.ChooseMenuItem(0, 9);
  ASSERT_EQ(NextEvent(), MenuEvent);
  EXPECT_EQ(EventNumber(), 9);
  EXPECT_EQ(EventWindowNumber(), 0);
  FreeMenu(0);
  EXPECT_FALSE(MenuExists(0));
}

class ImageTest : public ToolkitTest {
 protected:
  std::string WritePng(const std::string& name, int width, int height) {
    const unsigned char header[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13,
                                    'I', 'H', 'D', 'R',
                                    0, 0, static_cast<unsigned char>(width >> 8),
                                    static_cast<unsigned char>(width),
                                    0, 0, static_cast<unsigned char>(height >> 8),
                                    static_cast<unsigned char>(height)};
    return folder.WriteFile(name,
                            std::string(reinterpret_cast<const char*>(header), sizeof header));
  }

  ScratchFolder folder;
};

TEST_F(ImageTest, LoadsIntoSlotsAndAMissingFileLeavesTheSlotEmpty) {
  EXPECT_EQ(LoadImage(5, WritePng("inv_app_icon1x2.png", 36, 36)), 5);
  EXPECT_EQ(ImageWidth(5), 36);
  SetImageSize(5, 18, 18);
  EXPECT_EQ(ImageWidth(5), 36) << "points change, pixels stay";
  EXPECT_EQ(LoadImage(6, folder.Path() + "missing.png"), 0);
  EXPECT_FALSE(ImageExists(6));
  ResizeImage(5, 128, 128);
  EXPECT_EQ(ImageHeight(5), 128);

  CreateStatusItem();
  SetStatusItemImage(5);
  ASSERT_NE(desk.Status().image, nullptr);
  EXPECT_EQ(desk.Status().image->path, folder.Path() + "inv_app_icon1x2.png");
  FreeImage(5);
  EXPECT_EQ(desk.Status().image, nullptr) << "a freed image is no longer shown";
  RemoveStatusItem();
  EXPECT_FALSE(desk.Status().present);
}

struct TimerLog {
  std::vector<std::int64_t> fired;
};

void LogTimer(std::int64_t timer, void* context) {
  static_cast<TimerLog*>(context)->fired.push_back(timer);
}

TEST_F(ToolkitTest, TimersFireOnTicksUntilRemoved) {
  TimerLog log;
  const std::int64_t timer = AddTimer(1000, LogTimer, &log);
  EXPECT_EQ(desk.TimerInterval(timer), 1000);
  desk.TickTimer(timer);
  desk.TickTimer(timer);
  desk.HandlePendingEvents();
  EXPECT_EQ(log.fired.size(), 2u);
  RemoveTimer(timer);
  desk.TickTimer(timer);
  desk.HandlePendingEvents();
  EXPECT_EQ(log.fired.size(), 2u);
  EXPECT_TRUE(desk.RunningTimers().empty());
}

TEST_F(ToolkitTest, DisplaysAndPointerComeFromTheDesktop) {
  desk.SetDisplays({{0, 0, 1280, 800}, {1280, 0, 1920, 1080}});
  desk.SetPointer({1500, 20});
  EXPECT_EQ(DisplayCount(), 2);
  EXPECT_EQ(DisplayGeometry(1).width, 1920);
  EXPECT_EQ(DisplayGeometry(2).width, 0);
  EXPECT_EQ(PointerLocation().x, 1500);
}

}  // namespace
