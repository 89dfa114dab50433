#include <gtest/gtest.h>

#include <QProcess>
#include <QSystemTrayIcon>
#include <QTest>

#include <vector>

#include "platform/key_codes.h"
#include "platform/qt/qt_toolkit.h"
#include "platform/qt/x11_hotkey_service.h"
#include "platform/toolkit.h"

// The X11 parts on a private Xvfb: grabs pressed with xdotool, whatever the lock keys, and the
// tray icon embedding into a tray host that starts after it.

namespace {

constexpr std::uint32_t Cmd = HotkeyCommand, Shift = HotkeyShift;
constexpr std::uint32_t Option = HotkeyOption, Control = HotkeyControl;
constexpr std::uint32_t Key3 = 20, KeyF5 = 96, KeyE = 14;

std::vector<std::uint32_t> pressed;
void RecordPress(HotkeyId hotkey) {
  EXPECT_EQ(hotkey.signature, 0x68303030u + hotkey.id);
  pressed.push_back(hotkey.id);
}
HotkeyId Id(std::uint32_t serial) {
  return {0x68303030 + serial, serial};
}

class X11Hotkeys : public ::testing::Test {
 protected:
  X11Hotkeys() { pressed.clear(); }
  // Types the keys with xdotool; the ids of the presses reported once `count` have come.
  static std::vector<std::uint32_t> Press(const QStringList& keys, std::size_t count) {
    for (const QString& key : keys) {
      EXPECT_EQ(QProcess::execute("xdotool", {"key", key}), 0) << key.toStdString();
    }
    EXPECT_TRUE(QTest::qWaitFor([count] { return pressed.size() >= count; }, 5000));
    return pressed;
  }
  X11HotkeyService hotkeys;
};

TEST_F(X11Hotkeys, AGrabReportsItsIdentifierWhateverTheLocksAndGoesWhenReleased) {
  EXPECT_FALSE(hotkeys.RegisterKey(Key3, Cmd, Id(1))) << "no handler yet";
  ASSERT_TRUE(hotkeys.InstallHandler(RecordPress));
  ASSERT_TRUE(hotkeys.RegisterKey(Key3, Control | Option | Shift, Id(1)));
  ASSERT_TRUE(hotkeys.RegisterKey(KeyF5, Cmd, Id(2)));
  ASSERT_TRUE(hotkeys.RegisterKey(KeyE, Option | Cmd, Id(3)));
  EXPECT_FALSE(hotkeys.RegisterKey(KeyF5, Cmd, Id(4))) << "this program holds it already";
  EXPECT_TRUE(hotkeys.RegisterKey(KeyF5, Control, Id(5)));
  EXPECT_FALSE(hotkeys.RegisterKey(0xFFFF, Cmd, Id(6))) << "no such key";
  EXPECT_EQ(Press({"ctrl+alt+shift+3", "Num_Lock", "Caps_Lock", "super+F5", "Num_Lock", "Caps_Lock",
                   "super+F5", "shift+super+F5"},
                  3),
            (std::vector<std::uint32_t>{1, 2, 2}));
  ASSERT_TRUE(hotkeys.UnregisterKey(Id(3)));
  EXPECT_FALSE(hotkeys.UnregisterKey(Id(3)));
  EXPECT_EQ(Press({"alt+super+e", "ctrl+F5"}, 4), (std::vector<std::uint32_t>{1, 2, 2, 5}));
}

TEST(StatusItem, TheIconEmbedsWhenTheTrayHostStartsLater) {
  QtToolkit toolkit;
  InstallNativeToolkit(&toolkit);
  ASSERT_EQ(LoadImage(0, VANTORSHOT_BUILT_RESOURCES "app_icon1.png"), 0);
  ASSERT_EQ(CreateStatusItem(), 1);
  SetStatusItemImage(0);
  QTest::qWait(200);
  EXPECT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
  QProcess tray;
  tray.start("trayer", QString("--edge top --align right --widthtype request --height 32 "
                               "--heighttype pixel --SetDockType true --transparent false")
                           .split(' '));
  ASSERT_TRUE(tray.waitForStarted(5000));
  EXPECT_TRUE(
      QTest::qWaitFor([&toolkit] { return toolkit.StatusItem()->geometry().isValid(); }, 10000));
  EXPECT_TRUE(QSystemTrayIcon::isSystemTrayAvailable());
  SetStatusItemImage(-1);
  EXPECT_FALSE(toolkit.StatusItem()->isVisible()) << "no image, no icon";
  RemoveStatusItem();
  InstallNativeToolkit(nullptr);
  tray.terminate();
  tray.waitForFinished(5000);
}

}  // namespace
