#include <gtest/gtest.h>

#include <vector>

#include "platform/command_numbers.h"
#include "platform/headless/headless_platform.h"
#include "platform/toolkit.h"
#include "settings/settings_record.h"
#include "shortcuts/hotkey_list.h"
#include "shortcuts/key_name_map.h"

namespace {

constexpr std::uint32_t Cmd = HotkeyCommand, Shift = HotkeyShift, Option = HotkeyOption;
using Kinds = std::vector<std::int32_t>;

class Hotkeys : public ::testing::Test {
 protected:
  void SetUp() override {
    FillKeyNameMap();
    ASSERT_TRUE(InstallHotkeyHandler());
  }
  void TearDown() override { Settings = SettingsRecord{}; }

  // Presses a key on the desktop; the kinds of the events that reached the queue.
  Kinds Press(std::uint32_t keyCode, std::uint32_t modifiers, int times = 1) {
    for (int i = 0; i < times; ++i) platform.hotkeys.PressKey(keyCode, modifiers);
    return ReadEvents();
  }
  Kinds ReadEvents() {
    platform.toolkit.HandlePendingEvents();
    Kinds kinds;
    for (std::int32_t kind; (kind = NextEvent(0)) > 0;) {
      kinds.push_back(kind);
      EXPECT_EQ(EventNumber(), HotkeyWindow);
      EXPECT_EQ(EventWindowNumber(), HotkeyWindow);
      EXPECT_EQ(EventSubtype(), HotkeyWindow);
    }
    return kinds;
  }
  // The serials of the records, in list order.
  static std::vector<std::uint32_t> Serials() {
    std::vector<std::uint32_t> serials;
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
    EXPECT_FALSE(RegisterHotkey(text, HotkeyEvent1)) << "no key: no serial taken, " << text;
  }
  platform.hotkeys.RefuseKey(13, Option | Cmd);
  EXPECT_FALSE(RegisterHotkey("⌥⌘W", HotkeyEvent2)) << "held by another program";
  EXPECT_TRUE(RegisterHotkey("F5", HotkeyEvent2));
  EXPECT_FALSE(RegisterHotkey("F5", HotkeyEvent3)) << "held by this program";
  EXPECT_TRUE(RegisterHotkey("⌃↩", HotkeyEvent4));

  EXPECT_EQ(Serials(), (std::vector<std::uint32_t>{1, 3, 5})) << "refusals use up a serial";
  EXPECT_EQ(HotkeyList[0].ShortcutText, "⌘⇧3");
  EXPECT_EQ(HotkeyList[1].Event, HotkeyEvent2);
  ASSERT_EQ(platform.hotkeys.Registrations().size(), 3u);
  EXPECT_EQ(platform.hotkeys.Registrations()[0].hotkey.id, 1u);
  EXPECT_EQ(platform.hotkeys.Registrations()[0].hotkey.signature, 0x68303031u);
  EXPECT_EQ(Press(20, Cmd | Shift, 2), (Kinds{HotkeyEvent1, HotkeyEvent1}));
  EXPECT_EQ(Press(96, 0), Kinds{HotkeyEvent2});
  EXPECT_EQ(Press(36, HotkeyControl), Kinds{HotkeyEvent4});
}

TEST_F(Hotkeys, NothingRegistersWithoutTheHandler) {
  platform.hotkeys.RefuseHandler(true);
  EXPECT_FALSE(InstallHotkeyHandler());
  EXPECT_FALSE(RegisterHotkey("⌘1", HotkeyEvent1));
  EXPECT_TRUE(platform.hotkeys.Registrations().empty());
  platform.hotkeys.RefuseHandler(false);
  ASSERT_TRUE(InstallHotkeyHandler());
  EXPECT_TRUE(RegisterHotkey("⌘1", HotkeyEvent1));
  EXPECT_EQ(Serials(), std::vector<std::uint32_t>{1}) << "a new handler restarts the serials";
}

TEST_F(Hotkeys, UnregisteringRemovesTheRecordsOfTheTextOrTheKind) {
  ASSERT_TRUE(RegisterHotkey("⌥⌘W", HotkeyEvent2));
  ASSERT_TRUE(RegisterHotkey("⌥⌘S", HotkeyEvent3));
  ASSERT_TRUE(RegisterHotkey("⌥⌘O", HotkeyEvent4));
  UnregisterHotkey("", HotkeyEvent3);
  EXPECT_EQ(Press(1, Option | Cmd), Kinds{});
  UnregisterHotkey("⌥⌘W", HotkeyEvent1);
  EXPECT_EQ(Serials(), std::vector<std::uint32_t>{3});
  EXPECT_EQ(Press(13, Option | Cmd), Kinds{});
  EXPECT_EQ(Press(31, Option | Cmd), Kinds{HotkeyEvent4});
  // A new key for a command: the old one goes first.
  UnregisterHotkey("⌥⌘E", HotkeyEvent4);
  EXPECT_TRUE(RegisterHotkey("⌥⌘E", HotkeyEvent4));
  EXPECT_EQ(Press(31, Option | Cmd), Kinds{});
  EXPECT_EQ(Press(14, Option | Cmd), Kinds{HotkeyEvent4});
}

TEST_F(Hotkeys, AFailedReleaseStopsTheWalkAndALaterCallTriesAgain) {
  ASSERT_TRUE(RegisterHotkey("⌘1", HotkeyEvent1));
  ASSERT_TRUE(RegisterHotkey("⌘2", HotkeyEvent2));
  ASSERT_TRUE(RegisterHotkey("⌘3", HotkeyEvent1));
  platform.hotkeys.FailUnregistrationOf(18, Cmd, true);
  UnregisterHotkey("", HotkeyEvent1);
  EXPECT_EQ(Serials(), (std::vector<std::uint32_t>{1, 2, 3}));
  EXPECT_EQ(Press(18, Cmd), Kinds{HotkeyEvent1}) << "a key the desktop still holds still fires";
  platform.hotkeys.FailUnregistrationOf(18, Cmd, false);
  UnregisterHotkey("", HotkeyEvent1);
  EXPECT_EQ(Serials(), std::vector<std::uint32_t>{2});
  EXPECT_EQ(Press(18, Cmd), Kinds{});
  EXPECT_EQ(Press(20, Cmd), Kinds{});
}

TEST_F(Hotkeys, APressOfARemovedOrHalfMatchingIdentifierPostsNothing) {
  ASSERT_TRUE(RegisterHotkey("⇧⌘4", HotkeyEvent3));
  const HotkeyId id{HotkeyList[0].Signature, HotkeyList[0].Serial};
  UnregisterHotkey("", HotkeyEvent3);
  HotkeyPressedHandler(id);  // already queued by the desktop for the removed key
  ASSERT_TRUE(RegisterHotkey("⇧⌘4", HotkeyEvent3));
  HotkeyPressedHandler({HotkeyList[0].Signature, HotkeyList[0].Serial + 1});
  HotkeyPressedHandler({HotkeyList[0].Signature + 1, HotkeyList[0].Serial});
  EXPECT_EQ(ReadEvents(), Kinds{});
}

TEST_F(Hotkeys, StartupRegistersTheFourStoredShortcutsInOrder) {
  Settings.ShortKey1 = "⌘⇧3";
  Settings.ShortKey2 = "F5";
  Settings.ShortKey4 = "⌥⎋";
  RegisterStartupHotkeys();
  EXPECT_EQ(Serials(), (std::vector<std::uint32_t>{1, 2, 3}));
  EXPECT_EQ(Press(20, Cmd | Shift), Kinds{HotkeyEvent1});
  EXPECT_EQ(Press(96, 0), Kinds{HotkeyEvent2});
  EXPECT_EQ(Press(53, Option), Kinds{HotkeyEvent4});
}

}  // namespace
