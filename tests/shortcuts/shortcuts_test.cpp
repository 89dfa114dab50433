#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/command_numbers.h"
#include "platform/headless/headless_platform.h"
#include "platform/menu_item_text.h"
#include "platform/toolkit.h"
#include "settings/settings_record.h"
#include "shortcuts/hotkey_list.h"
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

TEST(KeyNames, ModifierSymbolsStandAnywhereAndCountOnceAndNamesAreExact) {
  FillKeyNameMap();
  FillKeyNameMap();  // a later start fills it again, unchanged
  const struct {
    const char* text;
    std::uint32_t modifiers;
    std::optional<std::uint32_t> key;
  } cases[] = {{"⌘⇧#", HotkeyShift | HotkeyCommand, 20},  // the shifted symbol: key 3
               {"⌘⌘A", HotkeyCommand, 0},
               {"⌃⌥⇧⌘F12", 0x1B00, 111},
               {"⌘a", HotkeyCommand, std::nullopt},
               {"⌘⌫", HotkeyCommand, std::nullopt}};
  for (const auto& c : cases) {
    const HotkeyKeyName read = ReadShortcutText(c.text);
    EXPECT_EQ(read.modifiers, c.modifiers) << c.text;
    EXPECT_EQ(VirtualKeyCodeOf(read.keyName), c.key) << c.text;
  }
}

TEST(MenuHint, ModifierWordsInTheTextsOrderThenTheKeyWord) {
  const std::pair<const char*, const char*> cases[] = {{"⌘⇧3", "Cmd+Shift+3"},
                                                       {"⌃⌥⇧⌘F12", "Ctrl+Alt+Shift+Cmd+F12"},
                                                       {"A", "A"},
                                                       {"", ""},
                                                       {"⇧+", "Shift+Plus"},
                                                       {"⌘&", "Cmd+Ampersand"},
                                                       {"⌘↖", "Cmd+Home"},
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
      {"Capture Entire Screen\t", "Capture Entire Screen", u"", 0},
      {"Save && Open &Capture", "Save  Open Capture", u"", 0},
      {"&Quit\tcmd+&Q", "Quit", u"q", ModifierCommand},
      {"X\tSHIFT+CMD+A", "X", u"a", ModifierShift | ModifierCommand},
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
  // 14 modifier sets with more than Shift x (94 printable characters minus 26 upper-case
  // letters, 14 special keys from Tab to Space, 12 function keys), the 12 function keys alone and
  // with Shift, and the cleared code 0.
  EXPECT_EQ(codes.size(), 14u * (94 - 26 + 14 + 12) + 2 * 12 + 1);
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

constexpr std::uint32_t Cmd = HotkeyCommand, Shift = HotkeyShift, Option = HotkeyOption;
using Numbers = std::vector<std::int64_t>;

class Hotkeys : public ::testing::Test {
 protected:
  Hotkeys() {
    FillKeyNameMap();
    EXPECT_TRUE(InstallHotkeyHandler());
  }
  ~Hotkeys() override { Settings = SettingsRecord{}; }

  // Presses keys on the desktop; the kinds of the events that reached the queue.
  Numbers Press(std::vector<std::pair<std::uint32_t, std::uint32_t>> keys) {
    for (const auto& [code, modifiers] : keys) platform.hotkeys.PressKey(code, modifiers);
    platform.toolkit.HandlePendingEvents();
    Numbers kinds;
    for (std::int32_t kind; (kind = NextEvent(0)) > 0;) {
      kinds.push_back(kind);
      EXPECT_EQ((Numbers{EventNumber(), EventWindowNumber(), EventSubtype()}),
                Numbers(3, HotkeyWindow));
    }
    return kinds;
  }
  // The serials of the records, in list order.
  static Numbers Serials() {
    Numbers serials;
    for (const HotkeyRecord& r : HotkeyList) {
      EXPECT_EQ(r.Signature, HotkeySignatureBase + r.Serial);
      serials.push_back(r.Serial);
    }
    return serials;
  }

  headless::Platform platform;
};

TEST_F(Hotkeys, EachRegistrationTakesTheNextSerialAndItsPressesPostItsKind) {
  EXPECT_TRUE(RegisterHotkey("⌘⇧3", HotkeyEvent1));
  for (const char* text : {"", "A", "⌘", "⌘↖", "⌘Insert", "⌘F21"}) {
    EXPECT_FALSE(RegisterHotkey(text, HotkeyEvent1)) << "no key, no serial: " << text;
  }
  platform.hotkeys.RefuseKey(13, Option | Cmd);
  EXPECT_FALSE(RegisterHotkey("⌥⌘W", HotkeyEvent2)) << "held by another program";
  EXPECT_TRUE(RegisterHotkey("F5", HotkeyEvent2));
  EXPECT_FALSE(RegisterHotkey("F5", HotkeyEvent3)) << "held by this program";
  EXPECT_TRUE(RegisterHotkey("⌃↩", HotkeyEvent4));
  EXPECT_EQ(Serials(), (Numbers{1, 3, 5})) << "refusals use up a serial";
  EXPECT_EQ(HotkeyList[0].ShortcutText, "⌘⇧3");
  ASSERT_EQ(platform.hotkeys.Registrations().size(), 3u);
  EXPECT_EQ(platform.hotkeys.Registrations()[0].hotkey.signature, 0x68303031u);
  EXPECT_EQ(Press({{20, Cmd | Shift}, {20, Cmd | Shift}, {96, 0}, {36, HotkeyControl}}),
            (Numbers{HotkeyEvent1, HotkeyEvent1, HotkeyEvent2, HotkeyEvent4}));
  platform.hotkeys.RefuseHandler(true);
  EXPECT_FALSE(InstallHotkeyHandler());
  EXPECT_FALSE(RegisterHotkey("⌘1", HotkeyEvent1)) << "no handler";
  EXPECT_EQ(Serials(), Numbers{}) << "a new handler starts a new list";
  platform.hotkeys.RefuseHandler(false);
  ASSERT_TRUE(InstallHotkeyHandler());
  EXPECT_TRUE(RegisterHotkey("⌘1", HotkeyEvent1));
  EXPECT_EQ(Serials(), Numbers{1}) << "and restarts the serials";
}

TEST_F(Hotkeys, UnregisteringRemovesTheRecordsOfTheTextOrTheKindUntilOneCannotGo) {
  ASSERT_TRUE(RegisterHotkey("⌥⌘W", HotkeyEvent2));
  ASSERT_TRUE(RegisterHotkey("⌥⌘S", HotkeyEvent3));
  ASSERT_TRUE(RegisterHotkey("⌥⌘O", HotkeyEvent4));
  UnregisterHotkey("⌥⌘W", HotkeyEvent1);
  UnregisterHotkey("", HotkeyEvent3);
  EXPECT_EQ(Serials(), Numbers{3});
  EXPECT_EQ(Press({{13, Option | Cmd}, {1, Option | Cmd}, {31, Option | Cmd}}),
            Numbers{HotkeyEvent4});
  // A new key for a command: the old one goes first.
  UnregisterHotkey("⌥⌘E", HotkeyEvent4);
  EXPECT_TRUE(RegisterHotkey("⌥⌘E", HotkeyEvent4));
  EXPECT_EQ(Press({{31, Option | Cmd}, {14, Option | Cmd}}), Numbers{HotkeyEvent4});
  ASSERT_TRUE(RegisterHotkey("⌘1", HotkeyEvent1));
  ASSERT_TRUE(RegisterHotkey("⌘3", HotkeyEvent1));
  platform.hotkeys.FailUnregistrationOf(18, Cmd, true);
  UnregisterHotkey("", HotkeyEvent1);
  EXPECT_EQ(Serials(), (Numbers{4, 5, 6})) << "the walk stops at a key the desktop keeps";
  EXPECT_EQ(Press({{18, Cmd}}), Numbers{HotkeyEvent1}) << "and that key still fires";
  platform.hotkeys.FailUnregistrationOf(18, Cmd, false);
  UnregisterHotkey("", HotkeyEvent1);
  EXPECT_EQ(Serials(), Numbers{4}) << "a later call tries again";
  // Presses already queued for a removed key, or half matching a live one, post nothing.
  const HotkeyId live{HotkeyList[0].Signature, HotkeyList[0].Serial};
  HotkeyPressedHandler({live.signature + 1, live.id + 1});
  HotkeyPressedHandler({live.signature, live.id + 1});
  HotkeyPressedHandler({live.signature + 1, live.id});
  EXPECT_EQ(Press({}), Numbers{});
}

constexpr std::uint32_t Sh = ModifierShift, Ct = ModifierControl, Op = ModifierOption,
                        Cm = ModifierCommand;

// Two shortcut fields in the Preferences window, the first one focused.
class ShortcutField : public ::testing::Test {
 protected:
  ShortcutField() {
    NewWindow(1, IgnoreCoordinate, IgnoreCoordinate, 400, 300, "Preferences", WindowCloseButton);
    EXPECT_EQ(NewShortcutGadget(22, 10, 10, 120, 24, 0), 22);
    EXPECT_EQ(NewShortcutGadget(23, 10, 40, 120, 24, 0), 23);
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
      {Cm | Sh, 21, u"$", "⇧⌘4", 0x90034},  // digits by their key, not the symbol
      {Ct | Sh, 29, u")", "⌃⇧0", 0x30030},
      {Sh | Op | Cm, 3, u"F", "⌥⇧⌘F", 0xD0066},
      {Cm | 0x10000 | 0x800000, 0, u"Z", "⌘Z", 0x8007A},  // Caps Lock, function flag
      {Op, 53, u"\x1B", "⌥⎋", 0x4001B},
      {Sh, 0, u"~", "", 0},                  // Shift alone is no modifier
      {Sh, 122, u"\uF704", "⇧F1", 0x1017A},  // except on a function key
      {Cm, 122, u"\uF704", "⌘F1", 0x8017A},
      {Ct, 126, u"", "⌃↑", 0x2001E},  // navigation keys by their key
      {0, 105, u"\uF710", "", 0},     // F13
      {0, 10, u"\u00A7", "", 0},
      {Op, 33, u"", "", 0},                     // a dead key gives no character
      {Cm, 76, u"\x03", "", 0},                 // keypad Enter: no key text to show
      {Ct | Op | Sh | Cm, 51, u"\x7F", "", 0},  // Backspace, whatever the modifiers
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Type(Cm, 0, u"a"), "⌘A");
    EXPECT_EQ(Type(c.flags, c.keyCode, c.characters), c.text) << c.text;
    EXPECT_EQ(GetGadgetState(22), c.state) << c.text;
  }
}

TEST_F(ShortcutField, OnlyTheFocusedFieldTakesKeyDownsAndNothingGoesFurther) {
  AddKeyboardShortcut(1, KeyEscape, 4000);  // would close the window outside a field
  EXPECT_EQ(Type(Sh, 56, u"", KeyEventType::FlagsChanged), "");
  EXPECT_EQ(Type(0, 0, u"b", KeyEventType::KeyUp), "");
  Focus(23);
  EXPECT_EQ(Type(Op, 53, u"\x1B"), "⌥⎋");
  EXPECT_EQ(GetGadgetText(22) + std::to_string(GetGadgetState(22)), "0");
  EXPECT_EQ(NextEvent(0), 0) << "the field posts nothing";
  SetGadgetText(23, "⌘A");
  EXPECT_EQ(GetGadgetState(23), 0x4001B) << "setting the text leaves the state";
  SetGadgetState(23, 0x4000D);
  EXPECT_EQ(GetGadgetText(23), "⌥↩");
  FreeGadget(23);
  Type(0, 53, u"\x1B");
  ASSERT_EQ(NextEvent(0), MenuEvent) << "without a focused field the window's shortcut acts";
  EXPECT_EQ(EventNumber(), 4000);
  const std::int64_t field = NewShortcutGadget(AutoNumber, 0, 0, 100, 24, 0x80071);
  EXPECT_EQ(GetGadgetText(field) + std::to_string(GetGadgetState(field)), "⌘Q524401");
  Focus(field);
  EXPECT_EQ(Type(Op, 14, u"e"), "⌥E");
  DestroyWindow(1);
  EXPECT_EQ(NewShortcutGadget(22, 0, 0, 100, 24, 0x80061), 0) << "no window";
}

}  // namespace
