#include "menu/status_menu.h"

#include "menu/icon_loading.h"
#include "menu_fixture.h"
#include "platform/command_numbers.h"
#include "platform/menu_item_text.h"
#include "platform/toolkit.h"
#include "shortcuts/hotkey_list.h"
#include "shortcuts/key_name_map.h"
#include "support/scratch_folder.h"

namespace {

constexpr std::uint32_t ShiftCommand = ModifierShift | ModifierCommand;

class StatusMenuTest : public MenuTest {
 protected:
  void Build() {
    LoadMenuIcons(resources);
    LoadMenuSymbols(resources);
    RegisterStartupHotkeys();
    BuildStatusMenu();
  }

  const headless::MenuItem& Item(std::int64_t item) {
    const headless::MenuItem* found = platform.toolkit.FindMenuItem(StatusMenu, item);
    if (found == nullptr) throw std::runtime_error("no item " + std::to_string(item));
    return *found;
  }

  // The menu as a person reads it: "-" for a separator, the title otherwise, submenu items
  // indented.
  static std::vector<std::string> Layout(const headless::Menu& menu, const std::string& indent) {
    std::vector<std::string> lines;
    for (const headless::MenuItem& entry : menu.items) {
      lines.push_back(indent + (entry.separator ? "-" : entry.title));
      if (entry.submenu) {
        for (std::string& line : Layout(*entry.submenu, indent + "  ")) lines.push_back(line);
      }
    }
    return lines;
  }

  std::vector<std::string> Layout() {
    const headless::Menu* menu = platform.toolkit.Status().menu;
    return menu == nullptr ? std::vector<std::string>() : Layout(*menu, "");
  }
};

TEST_F(StatusMenuTest, FirstStartShowsEveryItemInOrderWithoutCaptureKeys) {
  Build();
  const headless::Window* host = platform.toolkit.FindWindow(StatusMenuHostWindow);
  ASSERT_NE(host, nullptr);
  EXPECT_FALSE(host->visible);
  ASSERT_TRUE(platform.toolkit.Status().present);

  EXPECT_EQ(Layout(), (std::vector<std::string>{
                          "Capture Entire Screen", "Capture Window...", "Capture Selection...", "-",
                          "Open Capture Location...", "-", "Preferences...", "-", "More...",
                          "  About", "  -", "  Give Feedback", "  Contact Me", "-", "Quit"}));
  for (std::int64_t item : {1, 2, 3, 5}) {
    EXPECT_EQ(Item(item).keyEquivalent, "") << item;
    EXPECT_EQ(Item(item).modifierMask, 0u) << item;
    EXPECT_FALSE(Item(item).disabled) << item;
  }
  EXPECT_EQ(Item(ItemPreferences).keyEquivalent, ",");
  EXPECT_EQ(Item(ItemPreferences).modifierMask, ModifierCommand);
  EXPECT_EQ(Item(ItemQuit).keyEquivalent, "q");
  EXPECT_EQ(Item(ItemQuit).modifierMask, ModifierCommand);
  EXPECT_EQ(Item(ItemAbout).text, "About");
}

TEST_F(StatusMenuTest, EveryItemHasAPictureSoTheTitlesLineUp) {
  Build();
  EXPECT_EQ(FileOf(Item(1).image), "symbol_display.png");
  EXPECT_EQ(FileOf(Item(2).image), "symbol_window.png");
  EXPECT_EQ(FileOf(Item(3).image), "symbol_scissors.png");
  EXPECT_EQ(FileOf(Item(5).image), "symbol_folder.png");
  for (std::int64_t item : {4, 6, 7, 8, 9}) {
    EXPECT_EQ(FileOf(Item(item).image), "symbol_blank.png") << item;
  }
  const headless::MenuItem& more = platform.toolkit.Status().menu->items[8];
  ASSERT_TRUE(more.submenu);
  EXPECT_EQ(FileOf(more.image), "symbol_blank.png");
}

TEST_F(StatusMenuTest, AMissingSymbolFallsBackToTheBlankPicture) {
  ScratchFolder symbols;
  std::filesystem::copy_file(std::filesystem::path(VANTORSHOT_BUILT_RESOURCES) / "symbol_blank.png",
                             symbols.Path() + "symbol_blank.png");
  resources = symbols.Path();
  Build();
  for (std::int64_t item : {1, 2, 3, 5}) {
    EXPECT_EQ(FileOf(Item(item).image), "symbol_blank.png") << item;
  }
}

TEST_F(StatusMenuTest, TimerAndShortcutMakeItem1TextAndKeyEquivalent) {
  Settings.TimerIndex = 2;
  Settings.TimerSeconds = 5;
  Settings.ShortKey1 = "⇧⌘1";
  Build();
  EXPECT_EQ(Item(1).title, "Capture Entire Screen (5 sec Timer)");
  EXPECT_EQ(Item(1).text, "Capture Entire Screen (5 sec Timer)\tShift+Cmd+1");
  EXPECT_EQ(Item(1).keyEquivalent, "1");
  EXPECT_EQ(Item(1).modifierMask, ShiftCommand);
}

TEST_F(StatusMenuTest, EachTimerIndexNamesItsSecondsAndAnUnknownIndexShowsThePlainText) {
  const char* expected[] = {"Capture Entire Screen", "Capture Entire Screen (3 sec Timer)",
                            "Capture Entire Screen (5 sec Timer)",
                            "Capture Entire Screen (10 sec Timer)",
                            "Capture Entire Screen (15 sec Timer)"};
  for (std::int64_t index = 0; index < 5; ++index) {
    Settings.TimerIndex = index;
    Build();
    EXPECT_EQ(Item(1).title, expected[index]);
  }
  for (std::int64_t index : {-1, 5, 99}) {
    Settings.TimerIndex = index;
    Build();
    EXPECT_EQ(Item(1).title, "Capture Entire Screen") << index;
  }
}

TEST_F(StatusMenuTest, CaptureItemsCarryTheirShortcutsAsKeyEquivalents) {
  Settings.ShortKey2 = "⌥⌘W";
  Settings.ShortKey3 = "⌃⌥⇧3";
  Settings.ShortKey4 = "⌘F5";
  Build();
  EXPECT_EQ(Item(2).text, "Capture Window...\tAlt+Cmd+W");
  EXPECT_EQ(Item(2).keyEquivalent, "w");
  EXPECT_EQ(Item(3).text, "Capture Selection...\tCtrl+Alt+Shift+3");
  EXPECT_EQ(Item(3).modifierMask, ModifierControl | ModifierOption | ModifierShift);
  EXPECT_EQ(Item(5).title, "Open Capture Location...");
  EXPECT_EQ(Item(5).keyEquivalent, "\xEF\x9C\x88") << "F5 is the function-key character U+F708";
}

TEST_F(StatusMenuTest, BuildingRegistersTheHotKeysAndARefusedOneStillShowsItsHint) {
  FillKeyNameMap();
  ASSERT_TRUE(InstallHotkeyHandler());
  constexpr std::uint32_t ControlOptionShift = HotkeyControl | HotkeyOption | HotkeyShift;
  platform.hotkeys.RefuseKey(20, ControlOptionShift);
  Settings.ShortKey2 = "⌥⌘W";
  Settings.ShortKey3 = "⌃⌥⇧3";
  Build();

  ASSERT_EQ(platform.hotkeys.Registrations().size(), 1u);
  EXPECT_EQ(platform.hotkeys.Registrations()[0].keyCode, 13u) << "W";
  EXPECT_EQ(platform.hotkeys.Registrations()[0].modifiers, HotkeyOption | HotkeyCommand);
  EXPECT_EQ(Item(3).keyEquivalent, "3") << "taken by another program, still a menu key";
  EXPECT_EQ(Item(3).modifierMask, ModifierControl | ModifierOption | ModifierShift);
}

TEST_F(StatusMenuTest, ClipboardOrViewerOutputDisablesOpenCaptureLocation) {
  Settings.PreviewOn = 1;
  Build();
  EXPECT_TRUE(Item(5).disabled);
  EXPECT_FALSE(Item(4).disabled);

  Settings.PreviewOn = 0;
  Settings.ClipboardOn = 1;
  ApplyLocationItemRule();
  EXPECT_TRUE(Item(5).disabled);

  Settings.ClipboardOn = 0;
  ApplyLocationItemRule();
  EXPECT_FALSE(Item(5).disabled);
}

TEST_F(StatusMenuTest, ChangingTheTimerKeepsTheKeyEquivalentOfItem1) {
  Settings.TimerIndex = 3;
  Settings.ShortKey1 = "⇧⌘1";
  Build();
  SetEntireScreenItemTimer(0);
  EXPECT_EQ(Item(1).title, "Capture Entire Screen");
  EXPECT_EQ(Item(1).keyEquivalent, "1");
  EXPECT_EQ(Item(1).modifierMask, ShiftCommand);
  SetEntireScreenItemTimer(15);
  EXPECT_EQ(Item(1).text, "Capture Entire Screen (15 sec Timer)\tShift+Cmd+1");
}

TEST_F(StatusMenuTest, NewShortcutsRewriteOnlyTheirItemsAndAddNothing) {
  Settings.ShortKey2 = "⌥⌘W";
  Build();
  const std::vector<std::string> before = Layout();

  Settings.TimerSeconds = 10;
  SetCaptureItemShortcut(1, "⌘E");
  SetCaptureItemShortcut(2, "");
  SetCaptureItemShortcut(3, "⇧⌘S");
  SetCaptureItemShortcut(5, "⌃O");
  SetCaptureItemShortcut(4, "⌘X");  // not a capture item: ignored

  EXPECT_EQ(Item(1).text, "Capture Entire Screen (10 sec Timer)\tCmd+E");
  EXPECT_EQ(Item(2).text, "Capture Window...\t");
  EXPECT_EQ(Item(2).keyEquivalent, "");
  EXPECT_EQ(Item(3).keyEquivalent, "s");
  EXPECT_EQ(Item(5).text, "Open Capture Location...\tCtrl+O");
  EXPECT_EQ(Item(4).text, "Preferences...\tCmd+,");

  SetEntireScreenItemTimer(0);
  EXPECT_EQ(Item(1).text, "Capture Entire Screen\tCmd+E") << "the timer keeps the new hint";
  Settings.TimerSeconds = 0;
  for (int round = 0; round < 3; ++round) SetCaptureItemShortcut(1, "⌘E");
  EXPECT_EQ(Layout(), before);
}

}  // namespace
