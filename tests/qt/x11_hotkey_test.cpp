#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

#include "platform/qt/qt_toolkit.h"
#include "platform/qt/x11_hotkey_service.h"
#include "platform/toolkit.h"

namespace {

constexpr std::uint32_t CmdKey = 0x100;
constexpr std::uint32_t ShiftKey = 0x200;
constexpr std::uint32_t OptionKey = 0x800;
constexpr std::uint32_t ControlKey = 0x1000;
constexpr std::uint32_t KeyCode3 = 20;
constexpr std::uint32_t KeyCodeF5 = 96;
constexpr std::uint32_t KeyCodeE = 14;

std::vector<HotkeyId> pressed;

void RecordPress(HotkeyId hotkey) { pressed.push_back(hotkey); }

HotkeyId Id(std::uint32_t serial) { return {0x68303030 + serial, serial}; }

void PressKeys(const QString& keys) {
  ASSERT_EQ(QProcess::execute("xdotool", {"key", keys}), 0) << "xdotool " << keys.toStdString();
}

bool WaitForPresses(std::size_t count) {
  return QTest::qWaitFor([count] { return pressed.size() >= count; }, 5000);
}

class X11HotkeyTest : public ::testing::Test {
 protected:
  X11HotkeyTest() {
    pressed.clear();
    hotkeys.InstallHandler(RecordPress);
  }
  X11HotkeyService hotkeys;
};

TEST_F(X11HotkeyTest, GrabbedCombinationReportsItsIdentifier) {
  ASSERT_TRUE(hotkeys.RegisterKey(KeyCode3, ControlKey | OptionKey | ShiftKey, Id(1)));
  PressKeys("ctrl+alt+shift+3");
  ASSERT_TRUE(WaitForPresses(1));
  EXPECT_EQ(pressed[0].signature, 0x68303031u);
  EXPECT_EQ(pressed[0].id, 1u);
}

TEST_F(X11HotkeyTest, CombinationFiresWithNumLockAndCapsLockOn) {
  ASSERT_TRUE(hotkeys.RegisterKey(KeyCodeF5, CmdKey, Id(2)));
  PressKeys("Num_Lock");
  PressKeys("Caps_Lock");
  PressKeys("super+F5");
  PressKeys("Num_Lock");
  PressKeys("Caps_Lock");
  PressKeys("super+F5");
  ASSERT_TRUE(WaitForPresses(2));
  EXPECT_EQ(pressed[0].id, 2u);
  EXPECT_EQ(pressed[1].id, 2u);
}

TEST_F(X11HotkeyTest, UnregisteredCombinationIsReleased) {
  ASSERT_TRUE(hotkeys.RegisterKey(KeyCodeE, OptionKey | CmdKey, Id(3)));
  ASSERT_TRUE(hotkeys.RegisterKey(KeyCodeF5, ControlKey, Id(4)));
  ASSERT_TRUE(hotkeys.UnregisterKey(Id(3)));
  EXPECT_FALSE(hotkeys.UnregisterKey(Id(3)));
  PressKeys("alt+super+e");
  PressKeys("ctrl+F5");
  // The second press arrives after the first would have.
  ASSERT_TRUE(WaitForPresses(1));
  ASSERT_EQ(pressed.size(), 1u);
  EXPECT_EQ(pressed[0].id, 4u);
}

TEST_F(X11HotkeyTest, SameCombinationTwiceIsRefused) {
  ASSERT_TRUE(hotkeys.RegisterKey(KeyCode3, CmdKey | ShiftKey, Id(5)));
  EXPECT_FALSE(hotkeys.RegisterKey(KeyCode3, CmdKey | ShiftKey, Id(6)));
  EXPECT_TRUE(hotkeys.RegisterKey(KeyCode3, CmdKey, Id(7)));
}

TEST_F(X11HotkeyTest, CombinationHeldByAnotherClientIsRefusedUntilItLetsGo) {
  QProcess other;
  // Control+Mod1+Shift on the "3" key, with no lock bits: one variant is enough to refuse.
  other.start(QCoreApplication::applicationDirPath() + "/x11_grab_helper", {"33", "13"});
  ASSERT_TRUE(other.waitForReadyRead(5000));
  ASSERT_EQ(other.readAll().trimmed(), "grabbed");

  EXPECT_FALSE(hotkeys.RegisterKey(KeyCode3, ControlKey | OptionKey | ShiftKey, Id(8)));

  other.closeWriteChannel();
  ASSERT_TRUE(other.waitForFinished(5000));
  ASSERT_TRUE(hotkeys.RegisterKey(KeyCode3, ControlKey | OptionKey | ShiftKey, Id(9)));
  PressKeys("ctrl+alt+shift+3");
  ASSERT_TRUE(WaitForPresses(1));
  EXPECT_EQ(pressed[0].id, 9u);
}

TEST(X11HotkeyService, KeyWithoutAnXKeyIsRefused) {
  X11HotkeyService hotkeys;
  ASSERT_TRUE(hotkeys.InstallHandler(RecordPress));
  EXPECT_FALSE(hotkeys.RegisterKey(0xFFFF, CmdKey, Id(10)));
}

TEST(StatusItem, IconEmbedsWhenTheTrayHostStartsLater) {
  QtToolkit toolkit;
  InstallNativeToolkit(&toolkit);
  QTemporaryDir folder;
  const QString path = folder.path() + "/icon.png";
  QImage picture(18, 18, QImage::Format_ARGB32);
  picture.fill(Qt::darkBlue);
  ASSERT_TRUE(picture.save(path));
  ASSERT_EQ(LoadImage(0, path.toStdString()), 0);
  ASSERT_EQ(CreateStatusItem(), 1);
  SetStatusItemImage(0);
  QTest::qWait(200);
  EXPECT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());

  QProcess tray;
  tray.start("trayer", {"--edge", "top", "--align", "right", "--widthtype", "request", "--height",
                        "32", "--heighttype", "pixel", "--SetDockType", "true", "--transparent",
                        "false", "--tint", "0x404040"});
  ASSERT_TRUE(tray.waitForStarted(5000));
  EXPECT_TRUE(QTest::qWaitFor(
      [&toolkit] { return toolkit.StatusItem()->geometry().isValid(); }, 10000));
  EXPECT_TRUE(QSystemTrayIcon::isSystemTrayAvailable());

  RemoveStatusItem();
  InstallNativeToolkit(nullptr);
  tray.terminate();
  tray.waitForFinished(5000);
}

}  // namespace
