#include <gtest/gtest.h>

#include "platform/command_numbers.h"
#include "platform/headless/headless_platform.h"
#include "settings/settings_record.h"
#include "shortcuts/hotkey_list.h"
#include "shortcuts/key_name_map.h"

namespace {

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

}  // namespace
