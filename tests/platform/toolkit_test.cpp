#include <gtest/gtest.h>
#include <signal.h>

#include <map>
#include <string>
#include <vector>

#include "platform/command_numbers.h"
#include "platform/event_queue.h"
#include "platform/headless/headless_platform.h"
#include "platform/requesters.h"
#include "platform/termination_request.h"
#include "platform/toolkit.h"
#include "platform/utf.h"

// The toolkit's portable core, seen through the headless desktop: the event queue, numbering,
// the "no object" rule, key hooks and window shortcuts.

namespace {

class ToolkitTest : public ::testing::Test {
 protected:
  headless::Platform platform;
  headless::Toolkit& desk = platform.toolkit;
};

using Kinds = std::vector<std::int32_t>;

TEST_F(ToolkitTest, ASignalToEndBecomesOneQuitEventAndOnlyWhileWatched) {
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) raise(signal);
  EXPECT_TRUE(TakeTerminationRequest());
  EXPECT_FALSE(TakeTerminationRequest()) << "taken once";
  ASSERT_EQ(NextEvent(0), MenuEvent);
  EXPECT_EQ(EventNumber(), QuitMenuNumber);
  EXPECT_EQ(NextEvent(0), 0);
  StopWatchingTerminationRequests();
  RequestTermination();
  EXPECT_FALSE(TakeTerminationRequest()) << "not watched";
  EXPECT_EQ(TerminationRequestDescriptor(), -1);
}

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
  EXPECT_TRUE(!GadgetHandle(99) && !WindowObject(99) && !FontHandle(99));
  EXPECT_EQ(NextEvent(0), 0) << "nothing was posted";
  desk.SetDisplays({{0, 0, 1280, 800}, {1280, 0, 640, 480}});
  for (int display : {-1, 2}) EXPECT_EQ(DisplayGeometry(display).width, 0) << display;
  EXPECT_EQ(DisplayGeometry(1).width, 640);
}

TEST_F(ToolkitTest, GadgetsGoIntoTheLatestWindowAndWithItsEvents) {
  const std::int64_t a = NewWindow(AutoNumber, 0, 0, 100, 50, "A", WindowCloseButton);
  const std::int64_t b = NewWindow(AutoNumber, 0, 0, 100, 50, "B", WindowCloseButton);
  EXPECT_TRUE(a != 0 && a != b && GetWindowTitle(a) == "A");
  MoveWindow(a, 5, -6, IgnoreCoordinate, 70);  // each coordinate on its own
  EXPECT_TRUE(WindowX(a) == 5 && WindowY(a) == -6 && WindowContentWidth(a) == 100 &&
              WindowContentHeight(a) == 70);
  const std::int64_t label = NewTextGadget(AutoNumber, 1, 2, 30, 20, "label");
  EXPECT_TRUE(GetGadgetText(label) == "label" && GadgetWindow(label) == b);
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
  EXPECT_TRUE(!GadgetExists(12) && !desk.FindGadget(12) && GadgetExists(13));
  ASSERT_EQ(NextEvent(0), CloseWindowEvent) << "the close and click of window 1 went with it";
  EXPECT_EQ(EventWindowNumber(), 2);
  EXPECT_EQ(NextEvent(0), HotkeyEvent1) << "events of no window stay";
  EXPECT_EQ(NextEvent(0), 0);
  EXPECT_EQ(NewTextGadget(14, 0, 0, 1, 1, "x"), 14) << "window 2 is still current";
  DestroyWindow(2);
  EXPECT_EQ(NewTextGadget(15, 0, 0, 1, 1, "x"), 0) << "no current window";
  NewWindow(3, 0, 0, 300, 200, "old", 0);
  NewTextGadget(16, 0, 0, 1, 1, "x");
  NewWindow(3, 0, 0, 300, 200, "new", 0);
  EXPECT_TRUE(!GadgetExists(16) && GetWindowTitle(3) == "new") << "a number in use is replaced";
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
  EXPECT_TRUE(EventNumber() == 4000 && EventWindowNumber() == 3 && consumer.calls == 1);
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
      {Cs | 'w', Key(Cmd | 0x10000 | 0x200000, 13, u"w"), true},  // Caps Lock, keypad flag
      {Ss | 'a', Key(Shift, 0, u"A"), true},  // events report the shifted character
      {Ss | 'a', Key(Shift, 0, u"a"), false},
      {Ss | Cs | 'a', Key(Shift | Cmd, 0, u"A"), true},
      {Ss | KeyTab, Key(Shift, 48, u"\x19"), true},
      {Ss | '+', Key(Shift, 30, u"*"), true},
      {Cs | '4', Key(Cmd, 21, u"$"), true},  // digits by their key
      {Cs | '4', Key(Cmd, 86, u"4"), false},
      {FunctionKeyCode(5), Key(0, 96, u"\uF708"), true},
      {FunctionKeyCode(5), Key(0, 97, u"\uF708"), false},
      {0x150, Key(0, 80, u"\u0150"), true},  // not a function key: by character
      {0x150, Key(0, 80, u"x"), false},
      {KeyReturn, Key(0, 36, u"\r"), true},
      {KeyReturn, Key(0, 76, u"\x03"), true},  // keypad Enter
      {KeyReturn, Key(0, 36, u""), false},
      {KeyReturn, Key(0, 36, u"\r\r"), false},
      {KeyHome, Key(0, 115, u"\uF729"), true},
      {KeyBackspace, Key(0, 51, u"\x7f"), true},
      {KeyKeypad0, Key(0, 82, u"0"), true},
      {KeyKeypad9, Key(0, 92, u"9"), true},
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

// The kinds of every queued event, read without waiting for the desktop.
Kinds Drain() {
  Kinds kinds;
  for (std::int32_t kind; (kind = NextEvent(0)) > 0;) kinds.push_back(kind);
  return kinds;
}

TEST_F(ToolkitTest, DeliversFirstInFirstOutAndCoalescesIdenticalToolkitEventsAtTheTail) {
  QueueEvent(HotkeyEvent3, -65535, -65534, -65533, PostCustom);
  ASSERT_EQ(NextEvent(0), HotkeyEvent3);
  EXPECT_EQ((std::vector<std::int64_t>{EventNumber(), EventWindowNumber(), EventSubtype()}),
            (std::vector<std::int64_t>{-65535, -65534, -65533}));
  EXPECT_EQ(NextEvent(0), 0) << "an empty queue times out";
  QueueEvent(GadgetEvent, 12, 1, SubtypeClick, 0);
  QueueEvent(GadgetEvent, 12, 1, SubtypeClick, 0);  // as the tail: dropped
  QueueEvent(MenuEvent, 1, 0, 0, 0);
  QueueEvent(MenuEvent, 1, 0, 0, 0);                 // dropped
  QueueEvent(GadgetEvent, 12, 1, SubtypeClick, 0);   // the tail differs: kept
  QueueEvent(GadgetEvent, 12, 1, SubtypeChange, 0);  // the type differs: kept
  QueueEvent(GadgetEvent, 13, 1, SubtypeChange, 0);  // the object differs: kept
  QueueEvent(GadgetEvent, 13, 2, SubtypeChange, 0);  // the window differs: kept
  QueueEvent(GadgetEvent, 13, 2, SubtypeChange, PostNoCoalesce);
  QueueEvent(HotkeyEvent1, -65535, -65535, -65535, 0);  // application kinds never coalesce
  QueueEvent(HotkeyEvent1, -65535, -65535, -65535, 0);
  EXPECT_EQ(Drain(), (Kinds{GadgetEvent, MenuEvent, GadgetEvent, GadgetEvent, GadgetEvent,
                            GadgetEvent, GadgetEvent, HotkeyEvent1, HotkeyEvent1}));
}

// A desktop whose windows post events of their own while they are being created.
class ChattyWindowToolkit final : public headless::Toolkit {
 public:
  NativeHandle CreateWindow(std::int64_t number, const WindowSpec& spec) override {
    QueueEvent(GadgetEvent, 30, number, SubtypeChange, 0);
    QueueEvent(GadgetEvent, 31, number, SubtypeChange, PostWhileSuspended);
    QueueEvent(HotkeyEvent2, -65535, -65535, -65535, PostCustom);
    return headless::Toolkit::CreateWindow(number, spec);
  }
};

TEST_F(ToolkitTest, WhileAWindowOpensOnlyFlaggedRecordsAreQueued) {
  ChattyWindowToolkit chatty;
  InstallNativeToolkit(&chatty);
  NewWindow(8, 0, 0, 10, 10, "", 0);
  std::vector<std::int64_t> objects;
  while (NextEvent(0) > 0) objects.push_back(EventNumber());
  EXPECT_EQ(objects, (std::vector<std::int64_t>{31, -65535}));
  QueueEvent(GadgetEvent, 30, 8, SubtypeChange, 0);
  EXPECT_EQ(NextEvent(0), GadgetEvent) << "posting resumes once the window is open";
  InstallNativeToolkit(nullptr);
  InstallNativeToolkit(&desk);
}

int released = 0;
void CountRelease(void* data) {
  ++released;
  delete static_cast<int*>(data);
}

TEST_F(ToolkitTest, DataLivesWhileItsEventIsCurrentAndDroppedRecordsReleaseTheirs) {
  released = 0;
  QueueEvent(0x10010, 0, 0, 0, PostCustom, new int(42), CountRelease);
  QueueEvent(GadgetEvent, 3, 1, 0, 0, new int(1), CountRelease);
  QueueEvent(GadgetEvent, 3, 1, 0, 0, new int(2), CountRelease);  // coalesced
  EXPECT_EQ(released, 1);
  ASSERT_EQ(NextEvent(0), 0x10010);
  EXPECT_EQ(*static_cast<int*>(EventData()), 42);
  EXPECT_EQ(released, 1);
  ASSERT_EQ(NextEvent(0), GadgetEvent);
  EXPECT_EQ(released, 2);
  NextEvent(0);
  EXPECT_EQ(released, 3);
  EXPECT_EQ(EventData(), nullptr);
  NewWindow(1, 0, 0, 10, 10, "", 0);
  QueueEvent(GadgetEvent, 3, 1, 0, 0, new int(3), CountRelease);
  DestroyWindow(1);
  EXPECT_EQ(released, 4) << "a destroyed window's events release their data";
}

TEST_F(ToolkitTest, WakesTheWaitByKindAndFlag) {
  const int before = desk.WakeCount();
  QueueEvent(MenuEvent, 1, 0, 0, 0);
  EXPECT_EQ(desk.WakeCount(), before + 1) << "menu events always wake";
  QueueEvent(QuietEvent, 0, 0, 0, PostWake);
  EXPECT_EQ(desk.WakeCount(), before + 1) << "the quiet kind never wakes";
  desk.PushSystemEvent([] {});  // a pending system event ends the wait anyway
  QueueEvent(GadgetEvent, 2, 1, 0, 0);
  EXPECT_EQ(desk.WakeCount(), before + 1);
  QueueEvent(HotkeyEvent1, -65535, -65535, -65535, PostCustom);
  EXPECT_EQ(desk.WakeCount(), before + 2) << "the wake flag wakes regardless";
  desk.HandlePendingEvents();
  QueueEvent(GadgetEvent, 9, 1, 0, 0);
  EXPECT_EQ(desk.WakeCount(), before + 3) << "nothing pending: any kind wakes";
  Drain();
  desk.PushSystemEvent([] {});
  desk.PushSystemEvent([] { QueueEvent(MenuEvent, 9, 0, 0, 0); });
  EXPECT_EQ(NextEvent(), -1) << "an empty queue hands one system event to the desktop";
  EXPECT_EQ(NextEvent(), MenuEvent);
}

using Texts = std::vector<std::string>;

Texts Labels(std::uint32_t flags, std::string_view language) {
  Texts labels;
  for (const AlertButton& b : MakeAlertRequest("t", "x", flags, language).buttons) {
    labels.push_back(b.label + "=" + std::to_string(b.tag));
  }
  return labels;
}

// The first and last character of each encoded length, in one text.
TEST(Utf, EachLengthsBoundariesConvertBothWays) {
  const std::string utf8 =
      "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF";
  const std::u16string utf16 = u"\x7F\x80\x7FF\x800\xFFFF\U00010000\U0010FFFF";
  EXPECT_EQ(Utf8ToUtf16(utf8), utf16);
  EXPECT_EQ(Utf16ToUtf8(utf16), utf8);
}

TEST(Requesters, ChoicesByLanguagePrefixAnswersOnlyForChoicesAndFoldersEndInASlash) {
  EXPECT_EQ(Labels(AlertYesNoCancel, "pt-BR"), (Texts{"Yes=6", "No=7", "Cancel=2"}));
  EXPECT_EQ(Labels(AlertYesNo | AlertYesNoCancel, "en"), Labels(AlertYesNoCancel, "en-GB"));
  EXPECT_EQ(Labels(AlertYesNo, "en"), (Texts{"Yes=6", "No=7"}));
  EXPECT_EQ(Labels(AlertStop | AlertNote, "en"), Texts{});
  for (const char* language : {"fr", "de", "it", "es"}) {
    EXPECT_EQ(Labels(AlertYesNoCancel, std::string(language) + "-XX"),
              Labels(AlertYesNoCancel, language));
    EXPECT_NE(Labels(AlertYesNoCancel, language), Labels(AlertYesNoCancel, "en")) << language;
  }
  for (const auto& [flags, icon] : std::map<std::uint32_t, AlertIcon>{
           {AlertCaution | AlertNote | AlertStop, AlertIcon::Caution},
           {AlertNote | AlertStop, AlertIcon::Note},
           {AlertStop | AlertYesNo, AlertIcon::Stop},
           {AlertYesNo, AlertIcon::Application}}) {
    EXPECT_EQ(MakeAlertRequest("", "", flags, "").icon, icon) << flags;
  }
  EXPECT_EQ(ShowAlert("t", "x", AlertYesNo), AnswerNone) << "no desktop";
  EXPECT_EQ(ChooseFolder("t", "/home/"), "");
  headless::Platform platform;
  for (const int answer : {AnswerNo, AnswerYes, -1}) platform.requesters.QueueAlertAnswer(answer);
  EXPECT_EQ(ShowAlert("Warning!", "Sure?", AlertYesNo | AlertCaution), AnswerNo);
  EXPECT_EQ(ShowAlert("Error!", "Gone.", AlertStop), AnswerNone);
  EXPECT_EQ(ShowAlert("Q", "Not shown", AlertYesNo), AnswerNone);
  EXPECT_EQ(platform.requesters.Alerts().at(1).title, "Error!");
  platform.requesters.QueueFolderChoice("/home/u1/My Shots");
  platform.requesters.QueueFolderChoice("/home/u1/Other/");
  EXPECT_EQ(ChooseFolder("Choose", "/home/"), "/home/u1/My Shots/");
  EXPECT_EQ(ChooseFolder("Choose", "/home/"), "/home/u1/Other/");
  EXPECT_EQ(ChooseFolder("Choose", "/home/"), "") << "cancelled";
  for (const Texts& c : {Texts{"/home/", "/home", ""}, Texts{"/home/u1/Shots", "/home/u1", "Shots"},
                         Texts{"/home", "", "/home"}, Texts{"Shots", "", "Shots"},
                         Texts{"a/b", "a", "b"}, Texts{"/", "", "/"}, Texts{"", "", ""}}) {
    const FolderRequest request = MakeFolderRequest("", c[0]);
    EXPECT_EQ((Texts{c[0], request.startFolder, request.name}), c);
  }
}

}  // namespace
