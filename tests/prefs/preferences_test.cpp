#include <string>
#include <vector>

#include "menu/image_slots.h"
#include "platform/command_numbers.h"
#include "platform/key_codes.h"
#include "platform/toolkit.h"
#include "prefs/preferences_window.h"
#include "program/program_fixture.h"
#include "settings/settings_record.h"

namespace {

constexpr std::uint32_t ControlOptionShift = HotkeyControl | HotkeyOption | HotkeyShift;

KeyPress Typed(std::uint32_t modifiers, std::uint16_t key, char16_t character) {
  return KeyPress{KeyEventType::KeyDown, -1, modifiers, key, std::u16string(1, character)};
}

TEST_F(ProgramTest, OpensOnTheStoredValuesWithTheEnableRules) {
  Start(
      "FileFormat=7\nMenuIcon=4\nClipboardOn=1\nTimer=2\nSoundOn=0\nShadowOn=2\nLogin=1\n"
      "ShortKey2=⌥⌘W\n");
  OpenPreferences();
  EXPECT_TRUE(WindowExists(PreferencesWindow));
  EXPECT_TRUE(MenuItem(ItemPreferences).disabled);
  EXPECT_EQ(Gadget(GadgetFileFormat).state, 0) << "FileFormat 7 selects nothing";
  EXPECT_EQ(Gadget(GadgetMenuIcon).state, 0) << "MenuIcon 4 selects nothing";
  EXPECT_EQ(Gadget(GadgetMenuIcon).itemImages.size(), 4u);
  EXPECT_EQ(Gadget(GadgetTimer).state, 2);
  EXPECT_EQ(Gadget(GadgetSound).state, 0);
  EXPECT_EQ(Gadget(GadgetShadow).state, 0) << "2 is neither on nor off";
  EXPECT_EQ(Gadget(GadgetLogin).state, 1);
  EXPECT_EQ(Gadget(FirstShortcutField + 1).text, "⌥⌘W");
  EXPECT_EQ(Gadget(FirstShortcutField).placeholder, "add shortcut");
  EXPECT_EQ(Gadget(GadgetSaveLocation).items, std::vector<std::string>{"Documents"});
  EXPECT_EQ(Gadget(35).toolTip.substr(0, 34), "Shortcuts with up to four modifier");
  for (std::int64_t gadget :
       {GadgetFileFormat, GadgetSaveLocation, GadgetSelectFolder, GadgetPreview}) {
    EXPECT_FALSE(Enabled(gadget)) << gadget << " while captures go to the clipboard";
  }
  EXPECT_TRUE(Enabled(GadgetClipboard));

  platform.toolkit.ClickGadget(GadgetClipboard);
  Settle();
  for (std::int64_t gadget :
       {GadgetFileFormat, GadgetSaveLocation, GadgetSelectFolder, GadgetPreview, GadgetClipboard}) {
    EXPECT_TRUE(Enabled(gadget)) << gadget;
  }
}

TEST_F(ProgramTest, PreviewOnDisablesTheClipboardBoxInstead) {
  Start("PreviewOn=1\n");
  OpenPreferences();
  EXPECT_FALSE(Enabled(GadgetClipboard));
  EXPECT_TRUE(Enabled(GadgetPreview));
  EXPECT_FALSE(Enabled(GadgetFileFormat));
}

TEST_F(ProgramTest, EachChangeIsInTheFileAtOnceAndTakesEffect) {
  Start();
  OpenPreferences();
  struct Case {
    std::int64_t gadget;
    int item;  // -1 for a click
    const char* key;
    const char* stored;
    std::string SettingsRecord::*derived;
    const char* word;
  };
  const Case cases[] = {
      {GadgetFileFormat, 1, "FileFormat", "1", &SettingsRecord::FormatOption, "-t jpg"},
      {GadgetFileFormat, 4, "FileFormat", "4", &SettingsRecord::FileExtension, ".pdf"},
      {GadgetSound, -1, "SoundOn", "0", &SettingsRecord::SoundOption, " -x"},
      {GadgetShadow, -1, "ShadowOn", "0", &SettingsRecord::ShadowOption, " -o"},
      {GadgetPointer, -1, "MouseOn", "1", &SettingsRecord::PointerOption, " -C"},
      {GadgetPointer, -1, "MouseOn", "0", &SettingsRecord::PointerOption, ""},
      {GadgetClipboard, -1, "ClipboardOn", "1", &SettingsRecord::ClipboardOption, " -c"},
      {GadgetClipboard, -1, "ClipboardOn", "0", &SettingsRecord::ClipboardOption, ""},
      {GadgetPreview, -1, "PreviewOn", "1", &SettingsRecord::PreviewOption, " -P"},
      {GadgetPreview, -1, "PreviewOn", "0", &SettingsRecord::PreviewOption, ""},
      {GadgetSaveLocation, 0, "FileLocation", "0", nullptr, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " " + c.stored);
    if (c.item < 0) {
      platform.toolkit.ClickGadget(c.gadget);
    } else {
      platform.toolkit.SelectGadgetItem(c.gadget, c.item);
    }
    Settle();
    EXPECT_EQ(Stored(c.key), c.stored);
    if (c.derived != nullptr) {
      EXPECT_EQ(Settings.*c.derived, c.word);
    }
  }
  EXPECT_EQ(Gadget(GadgetSound).state, 0) << "the box shows the new value";

  platform.toolkit.SelectGadgetItem(GadgetMenuIcon, 2);
  Settle();
  EXPECT_EQ(Stored("MenuIcon"), "2");
  EXPECT_EQ(platform.toolkit.Status().image, ImageHandle(FirstLightIconImage + 2));
}

TEST_F(ProgramTest, TheTimerRetitlesTheFirstItem) {
  Start("ShortKey1=⌃⌥⇧1\n");
  OpenPreferences();
  for (const auto& [item, title] : std::vector<std::pair<int, std::string>>{
           {3, "Capture Entire Screen (10 sec Timer)"}, {0, "Capture Entire Screen"}}) {
    platform.toolkit.SelectGadgetItem(GadgetTimer, item);
    Settle();
    EXPECT_EQ(Stored("Timer"), std::to_string(item));
    EXPECT_EQ(MenuItem(ItemCaptureEntireScreen).text, title + "\tCtrl+Alt+Shift+1");
  }
  EXPECT_EQ(Settings.TimerSeconds, 0);
}

TEST_F(ProgramTest, ClipboardOrViewerCapturesSwitchOffTheLocationItemAndItsHotKey) {
  Start("ShortKey4=⌃⌥⇧L\n");
  OpenPreferences();
  for (std::int64_t box : {GadgetClipboard, GadgetPreview}) {
    SCOPED_TRACE(box);
    ASSERT_TRUE(Registered(37, ControlOptionShift));
    platform.toolkit.ClickGadget(box);
    Settle();
    EXPECT_TRUE(MenuItem(ItemOpenCaptureLocation).disabled);
    EXPECT_FALSE(Registered(37, ControlOptionShift));
    platform.toolkit.ClickGadget(box);
    Settle();
    EXPECT_FALSE(MenuItem(ItemOpenCaptureLocation).disabled);
  }
}

TEST_F(ProgramTest, ClosingStoresRegistersAndRetitlesTheShortcuts) {
  Start("ShortKey2=⌥⌘W\n");
  OpenPreferences();
  ASSERT_TRUE(Registered(13, HotkeyOption | HotkeyCommand));
  platform.toolkit.FocusGadgetByUser(FirstShortcutField + 2);
  platform.toolkit.PressKey(Typed(ModifierControl | ModifierOption | ModifierShift, 21, u'$'));
  platform.toolkit.FocusGadgetByUser(FirstShortcutField + 1);
  platform.toolkit.PressKey(Typed(0, VirtualBackspace, CharacterBackspace));
  Settle();
  EXPECT_EQ(Stored("ShortKey3"), "") << "typing alone stores nothing";
  EXPECT_TRUE(Registered(13, HotkeyOption | HotkeyCommand)) << "until the window closes";

  platform.toolkit.PressCloseButton(PreferencesWindow);
  Settle();
  EXPECT_FALSE(WindowExists(PreferencesWindow));
  EXPECT_FALSE(MenuItem(ItemPreferences).disabled);
  EXPECT_FALSE(ImageExists(HelpIconImage));
  EXPECT_EQ(Stored("ShortKey3"), "⌃⌥⇧4");
  EXPECT_EQ(Stored("ShortKey2"), "");
  EXPECT_TRUE(Registered(21, ControlOptionShift));
  EXPECT_FALSE(Registered(13, HotkeyOption | HotkeyCommand));
  EXPECT_EQ(MenuItem(ItemCaptureSelection).text, "Capture Selection...\tCtrl+Alt+Shift+4");
  EXPECT_EQ(MenuItem(ItemCaptureWindow).text, "Capture Window...\t");
}

TEST_F(ProgramTest, AHotKeyTypedIntoAFocusedFieldIsRecordedNotRun) {
  Start("ShortKey1=⌃⌥⇧1\n");
  OpenPreferences();
  platform.toolkit.FocusGadgetByUser(FirstShortcutField + 2);
  platform.hotkeys.PressKey(18, ControlOptionShift);
  platform.toolkit.HandlePendingEvents();
  EXPECT_EQ(Gadget(FirstShortcutField + 2).text, "⌃⌥⇧1");
  EXPECT_EQ(NextEvent(0), 0) << "no capture was queued";

  platform.toolkit.FocusGadgetByUser(GadgetFileFormat);
  platform.hotkeys.PressKey(18, ControlOptionShift);
  platform.toolkit.HandlePendingEvents();
  EXPECT_EQ(NextEvent(0), HotkeyEvent1) << "elsewhere the hot key runs its command";
}

}  // namespace
