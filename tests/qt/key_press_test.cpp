#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "platform/qt/qt_key_press.h"
#include "qt_fixture.h"

namespace {

// X11 key codes (evdev positions) and keysyms as the X server reports them.
constexpr quint32 XKeycode4 = 13;
constexpr quint32 XKeycodeF = 41;
constexpr quint32 KeysymDollar = 0x24;
constexpr quint32 KeysymF = 0x46;

TEST(KeyPressFromQt, ControlOptionFGivesFlagsKeyAndUnmodifiedCharacter) {
  // Without native codes (as offscreen delivers them) the Qt key decides; the text "\x06" that
  // Control makes is not the character.
  const QKeyEvent event(QEvent::KeyPress, Qt::Key_F, Qt::ControlModifier | Qt::AltModifier,
                        QString(QChar(6)));
  const KeyPress press = KeyPressFromQt(event, 3);
  EXPECT_EQ(press.type, KeyEventType::KeyDown);
  EXPECT_EQ(press.window, 3);
  EXPECT_EQ(press.modifierFlags, ModifierControl | ModifierOption);
  EXPECT_EQ(press.keyCode, 3);
  EXPECT_EQ(press.characters, u"f");
}

TEST(KeyPressFromQt, ShiftFourIsTheDigitKeyGivingDollar) {
  const QKeyEvent x11(QEvent::KeyPress, Qt::Key_Dollar, Qt::ShiftModifier, XKeycode4,
                      KeysymDollar, 0x1, "$");
  KeyPress press = KeyPressFromQt(x11, -1);
  EXPECT_EQ(press.modifierFlags, ModifierShift);
  EXPECT_EQ(press.keyCode, 21);
  EXPECT_EQ(press.characters, u"$");

  const QKeyEvent offscreen(QEvent::KeyPress, Qt::Key_Dollar, Qt::ShiftModifier, "$");
  press = KeyPressFromQt(offscreen, -1);
  EXPECT_EQ(press.keyCode, 21);
  EXPECT_EQ(press.characters, u"$");
}

TEST(KeyPressFromQt, SuperIsCommandAndShiftStaysInTheCharacter) {
  const QKeyEvent event(QEvent::KeyPress, Qt::Key_F, Qt::MetaModifier | Qt::ShiftModifier,
                        XKeycodeF, KeysymF, 0x41, "F");
  const KeyPress press = KeyPressFromQt(event, -1);
  EXPECT_EQ(press.modifierFlags, ModifierCommand | ModifierShift);
  EXPECT_EQ(press.keyCode, 3);
  EXPECT_EQ(press.characters, u"F");
}

TEST(KeyPressFromQt, SpecialKeysGiveTheirCodesAndCharacters) {
  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    std::uint16_t keyCode;
    std::u16string characters;
  };
  const Case cases[] = {
      {Qt::Key_Escape, {}, 53, u"\x1b"},
      {Qt::Key_Return, {}, 36, u"\r"},
      {Qt::Key_Enter, Qt::KeypadModifier, 76, u"\x03"},
      {Qt::Key_Backspace, {}, 51, u"\x7f"},
      {Qt::Key_Tab, {}, 48, u"\t"},
      {Qt::Key_Space, {}, 49, u" "},
      {Qt::Key_F1, {}, 122, u"\uF704"},
      {Qt::Key_F5, {}, 96, u"\uF708"},
      {Qt::Key_F13, {}, 105, u"\uF710"},
      {Qt::Key_Home, {}, 115, u"\uF729"},
      {Qt::Key_PageDown, {}, 121, u"\uF72D"},
      {Qt::Key_Delete, {}, 117, u"\uF728"},
      {Qt::Key_Up, {}, 126, u"\uF700"},
      {Qt::Key_7, Qt::KeypadModifier, 89, u"7"},
      {Qt::Key_7, {}, 26, u"7"},
  };
  for (const Case& c : cases) {
    const KeyPress press = KeyPressFromQt(QKeyEvent(QEvent::KeyPress, c.key, c.modifiers), -1);
    EXPECT_EQ(press.keyCode, c.keyCode) << "Qt key " << std::hex << c.key;
    EXPECT_EQ(press.characters, c.characters) << "Qt key " << std::hex << c.key;
  }
}

TEST(KeyPressFromQt, ModifierKeysAloneOnlyChangeFlags) {
  const KeyPress press =
      KeyPressFromQt(QKeyEvent(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier), -1);
  EXPECT_EQ(press.type, KeyEventType::FlagsChanged);
  EXPECT_TRUE(press.characters.empty());
  EXPECT_EQ(KeyPressFromQt(QKeyEvent(QEvent::KeyRelease, Qt::Key_A, {}), -1).type,
            KeyEventType::KeyUp);
}

// Key hooks see each press once, before the focused widget and Qt's shortcuts.
class KeyRoutingTest : public QtToolkitTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(NewWindow(1, 50, 50, 300, 120, "Keys", WindowCloseButton), 1);
    NewTextGadget(20, 10, 10, 100, 20, "Field:");
    field = new QLineEdit(WindowWidget(1));
    field->setGeometry(10, 40, 200, 24);
    field->show();
    WindowWidget(1)->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(WindowWidget(1)));
    field->setFocus();
    hook = AddKeyHook(&KeyRoutingTest::Record, this);
  }
  void TearDown() override { RemoveKeyHook(hook); }

  static int Record(const KeyPress& press, void* context) {
    auto* self = static_cast<KeyRoutingTest*>(context);
    if (press.type != KeyEventType::KeyDown) return 0;
    self->presses.push_back(press);
    return self->consume ? 1 : 0;
  }

  QLineEdit* field = nullptr;
  std::int64_t hook = 0;
  bool consume = false;
  std::vector<KeyPress> presses;
};

TEST_F(KeyRoutingTest, EachPressIsOfferedOnceWithTheFocusedWindow) {
  QTest::keyClick(field, Qt::Key_F, Qt::ControlModifier | Qt::AltModifier);
  QTest::keyClick(field, Qt::Key_F, Qt::ControlModifier | Qt::AltModifier);
  ASSERT_EQ(presses.size(), 2u);
  EXPECT_EQ(presses[0].window, 1);
  EXPECT_EQ(presses[0].modifierFlags, ModifierControl | ModifierOption);
  EXPECT_EQ(presses[0].keyCode, 3);
  EXPECT_EQ(presses[0].characters, u"f");
}

TEST_F(KeyRoutingTest, UnconsumedPressesReachTheWidget) {
  QTest::keyClicks(field, "ab");
  EXPECT_EQ(field->text(), "ab");
  EXPECT_EQ(presses.size(), 2u);
}

TEST_F(KeyRoutingTest, ConsumedPressesReachNeitherWidgetNorShortcut) {
  int triggered = 0;
  QAction quit(WindowWidget(1));
  quit.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  WindowWidget(1)->addAction(&quit);
  QObject::connect(&quit, &QAction::triggered, [&triggered] { ++triggered; });

  consume = true;
  QTest::keyClicks(field, "ab");
  QTest::keyClick(field, Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(field->text(), "");
  EXPECT_EQ(triggered, 0);
  EXPECT_EQ(presses.size(), 3u);

  consume = false;
  QTest::keyClick(field, Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(triggered, 1);
}

TEST_F(KeyRoutingTest, WindowKeyboardShortcutPostsItsMenuEvent) {
  AddKeyboardShortcut(1, 27, 4000);
  QTest::keyClick(field, Qt::Key_Escape);
  EXPECT_EQ(TakeEvents(), (std::vector<QueuedEvent>{{MenuEvent, 4000, 1, 0}}));
}

}  // namespace
