#include <gtest/gtest.h>

#include <vector>

#include "platform/command_numbers.h"
#include "platform/headless/headless_platform.h"
#include "platform/toolkit.h"
#include "settings/settings_record.h"
#include "shortcuts/hotkey_list.h"
#include "shortcuts/key_name_map.h"

namespace {

constexpr std::uint32_t Cmd = HotkeyCommand;
constexpr std::uint32_t Shift = HotkeyShift;
constexpr std::uint32_t Option = HotkeyOption;
constexpr std::uint32_t Control = HotkeyControl;

class Hotkeys : public ::testing::Test {
 protected:
  void SetUp() override {
    FillKeyNameMap();
    ASSERT_TRUE(InstallHotkeyHandler());
  }

  // Presses a key on the desktop and returns the kinds of the events it queued.
  std::vector<std::int32_t> Press(std::uint32_t keyCode, std::uint32_t modifiers, int times = 1) {
    for (int i = 0; i < times; ++i) platform.hotkeys.PressKey(keyCode, modifiers);
    return ReadEvents();
  }

  std::vector<std::int32_t> ReadEvents() {
    platform.toolkit.HandlePendingEvents();
    std::vector<std::int32_t> kinds;
    for (std::int32_t kind = NextEvent(0); kind > 0; kind = NextEvent(0)) {
      kinds.push_back(kind);
      EXPECT_EQ(EventNumber(), -65535);
      EXPECT_EQ(EventWindowNumber(), -65535);
      EXPECT_EQ(EventSubtype(), -65535);
    }
    return kinds;
  }

  const headless::Hotkeys::Registration* Registered(std::uint32_t keyCode,
                                                    std::uint32_t modifiers) {
    for (const auto& r : platform.hotkeys.Registrations()) {
      if (r.keyCode == keyCode && r.modifiers == modifiers) return &r;
    }
    return nullptr;
  }

  headless::Platform platform;
  using Kinds = std::vector<std::int32_t>;
};

TEST_F(Hotkeys, RegistersKeyNameAndModifiersUnderSignatureAndSerial) {
  EXPECT_TRUE(RegisterHotkey("⌘⇧3", HotkeyEvent1));
  EXPECT_TRUE(RegisterHotkey("F5", HotkeyEvent2));
  EXPECT_TRUE(RegisterHotkey("⌥⎋", HotkeyEvent3));
  EXPECT_TRUE(RegisterHotkey("⌃↩", HotkeyEvent4));

  ASSERT_EQ(HotkeyList.size(), 4u);
  EXPECT_EQ(HotkeyList[0].ShortcutText, "⌘⇧3");
  EXPECT_EQ(HotkeyList[0].Event, HotkeyEvent1);
  EXPECT_EQ(HotkeyList[0].Serial, 1u);
  EXPECT_EQ(HotkeyList[0].Signature, 0x68303031u);
  EXPECT_EQ(HotkeyList[3].Serial, 4u);
  EXPECT_EQ(HotkeyList[3].Signature, 0x68303034u);

  const auto* first = Registered(20, Cmd | Shift);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->hotkey.signature, 0x68303031u);
  EXPECT_EQ(first->hotkey.id, 1u);
  EXPECT_NE(Registered(96, 0), nullptr);
  EXPECT_NE(Registered(53, Option), nullptr);
  EXPECT_NE(Registered(36, Control), nullptr);

  EXPECT_EQ(Press(20, Cmd | Shift), Kinds{HotkeyEvent1});
  EXPECT_EQ(Press(36, Control), Kinds{HotkeyEvent4});
}

TEST_F(Hotkeys, TextsWithoutAKeyRegisterNothingAndTakeNoSerial) {
  for (const char* text : {"", "A", "⌘", "⌃⌘", "⌘↖", "⌥⇞", "⌘Insert", "⌘F21"}) {
    EXPECT_FALSE(RegisterHotkey(text, HotkeyEvent1)) << text;
  }
  EXPECT_TRUE(HotkeyList.empty());
  EXPECT_TRUE(platform.hotkeys.Registrations().empty());
}

TEST_F(Hotkeys, RefusedRegistrationLeavesNoRecordButUsesItsSerial) {
  platform.hotkeys.RefuseKey(13, Option | Cmd);
  EXPECT_FALSE(RegisterHotkey("⌥⌘W", HotkeyEvent2));
  EXPECT_TRUE(HotkeyList.empty());

  EXPECT_TRUE(RegisterHotkey("⌥⌘E", HotkeyEvent2));
  ASSERT_EQ(HotkeyList.size(), 1u);
  EXPECT_EQ(HotkeyList[0].Serial, 2u);
  EXPECT_EQ(HotkeyList[0].Signature, 0x68303032u);

  // A combination this program already holds is refused the same way.
  EXPECT_FALSE(RegisterHotkey("⌥⌘E", HotkeyEvent3));
  EXPECT_EQ(HotkeyList.size(), 1u);
}

TEST_F(Hotkeys, NothingRegistersWithoutTheHandler) {
  platform.hotkeys.RefuseHandler(true);
  EXPECT_FALSE(InstallHotkeyHandler());
  EXPECT_FALSE(RegisterHotkey("⌘1", HotkeyEvent1));
  EXPECT_TRUE(platform.hotkeys.Registrations().empty());
}

TEST_F(Hotkeys, UnregisteringMatchesTextOrKind) {
  ASSERT_TRUE(RegisterHotkey("⌥⌘W", HotkeyEvent2));
  ASSERT_TRUE(RegisterHotkey("⌥⌘S", HotkeyEvent3));
  ASSERT_TRUE(RegisterHotkey("⌥⌘O", HotkeyEvent4));

  // The empty text removes the command's record whatever its text.
  UnregisterHotkey("", HotkeyEvent3);
  ASSERT_EQ(HotkeyList.size(), 2u);
  EXPECT_EQ(Registered(1, Option | Cmd), nullptr);
  EXPECT_EQ(Press(1, Option | Cmd), Kinds{});

  // A record with the same text goes too, whatever its kind.
  UnregisterHotkey("⌥⌘W", HotkeyEvent1);
  ASSERT_EQ(HotkeyList.size(), 1u);
  EXPECT_EQ(HotkeyList[0].Event, HotkeyEvent4);
  EXPECT_EQ(Press(31, Option | Cmd), Kinds{HotkeyEvent4});
}

TEST_F(Hotkeys, ChangingACommandsKeyMovesItsHotkey) {
  ASSERT_TRUE(RegisterHotkey("⌥⌘W", HotkeyEvent2));
  EXPECT_EQ(Press(13, Option | Cmd), Kinds{HotkeyEvent2});

  UnregisterHotkey("⌥⌘E", HotkeyEvent2);
  EXPECT_TRUE(RegisterHotkey("⌥⌘E", HotkeyEvent2));
  EXPECT_EQ(Press(13, Option | Cmd), Kinds{});
  EXPECT_EQ(Press(14, Option | Cmd), Kinds{HotkeyEvent2});
}

TEST_F(Hotkeys, FailedUnregistrationStopsTheWalkAndTheKeyStillFires) {
  ASSERT_TRUE(RegisterHotkey("⌘1", HotkeyEvent1));
  ASSERT_TRUE(RegisterHotkey("⌘2", HotkeyEvent2));
  ASSERT_TRUE(RegisterHotkey("⌘3", HotkeyEvent1));
  platform.hotkeys.FailUnregistrationOf(18, Cmd, true);

  UnregisterHotkey("", HotkeyEvent1);
  // The failing first record stops the walk: the later record of the same kind stays too.
  ASSERT_EQ(HotkeyList.size(), 3u);
  EXPECT_EQ(Press(18, Cmd), Kinds{HotkeyEvent1});
  EXPECT_EQ(Press(20, Cmd), Kinds{HotkeyEvent1});

  // A later call tries again.
  platform.hotkeys.FailUnregistrationOf(18, Cmd, false);
  UnregisterHotkey("", HotkeyEvent1);
  ASSERT_EQ(HotkeyList.size(), 1u);
  EXPECT_EQ(HotkeyList[0].Event, HotkeyEvent2);
  EXPECT_EQ(Press(18, Cmd), Kinds{});
  EXPECT_EQ(Press(20, Cmd), Kinds{});
}

TEST_F(Hotkeys, RemovedRecordPostsNothing) {
  ASSERT_TRUE(RegisterHotkey("⇧⌘4", HotkeyEvent3));
  const HotkeyId id{HotkeyList[0].Signature, HotkeyList[0].Serial};
  UnregisterHotkey("", HotkeyEvent3);
  // A press the desktop had already queued for the removed key.
  HotkeyPressedHandler(id);
  EXPECT_EQ(ReadEvents(), Kinds{});
  // An identifier that only half matches a live record is not its press either.
  ASSERT_TRUE(RegisterHotkey("⇧⌘4", HotkeyEvent3));
  HotkeyPressedHandler({HotkeyList[0].Signature, HotkeyList[0].Serial + 1});
  HotkeyPressedHandler({HotkeyList[0].Signature + 1, HotkeyList[0].Serial});
  EXPECT_EQ(ReadEvents(), Kinds{});
}

TEST_F(Hotkeys, TwoPressesPostTwoEvents) {
  ASSERT_TRUE(RegisterHotkey("⇧⌘4", HotkeyEvent3));
  EXPECT_EQ(Press(21, Shift | Cmd, 2), (Kinds{HotkeyEvent3, HotkeyEvent3}));
}

TEST_F(Hotkeys, StartupRegistersTheFourStoredShortcutsInOrder) {
  Settings.ShortKey1 = "⌘⇧3";
  Settings.ShortKey2 = "F5";
  Settings.ShortKey3 = "";
  Settings.ShortKey4 = "⌥⎋";
  RegisterStartupHotkeys();

  ASSERT_EQ(HotkeyList.size(), 3u);
  EXPECT_EQ(HotkeyList[0].Event, HotkeyEvent1);
  EXPECT_EQ(HotkeyList[1].Event, HotkeyEvent2);
  EXPECT_EQ(HotkeyList[2].Event, HotkeyEvent4);
  EXPECT_EQ(HotkeyList[2].Serial, 3u);
  EXPECT_EQ(Press(20, Cmd | Shift), Kinds{HotkeyEvent1});
  EXPECT_EQ(Press(96, 0), Kinds{HotkeyEvent2});
  EXPECT_EQ(Press(53, Option), Kinds{HotkeyEvent4});
  Settings = SettingsRecord{};
}

}  // namespace
