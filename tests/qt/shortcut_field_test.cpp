#include <QLineEdit>
#include <QTest>

#include "qt_fixture.h"
#include "shortcuts/shortcut_gadget.h"

namespace {

// The shortcut entry field of the application on the Qt desktop: native key presses reach its
// key hook, which records the combination instead of the typed text.
class ShortcutFieldOnQt : public QtToolkitTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(NewWindow(1, 50, 50, 300, 120, "Preferences", WindowCloseButton), 1);
    ASSERT_EQ(NewShortcutGadget(22, 10, 10, 180, 24, 0), 22);
    ASSERT_EQ(NewShortcutGadget(23, 10, 50, 180, 24, 0), 23);
    WindowWidget(1)->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(WindowWidget(1)));
    Widget(22)->setFocus();
  }
};

TEST_F(ShortcutFieldOnQt, ControlOptionFIsRecordedAsItsShortcutText) {
  QTest::keyClick(Widget(22), Qt::Key_F, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(GetGadgetText(22), "\u2303\u2325F");
  EXPECT_EQ(GetGadgetState(22), 0x60066);
  EXPECT_EQ(GetGadgetText(23), "") << "only the focused field records";
  EXPECT_EQ(static_cast<QLineEdit*>(Widget(22))->text(), QString::fromUtf8("\u2303\u2325F"));
}

TEST_F(ShortcutFieldOnQt, SuperShiftDigitAndBackspace) {
  QTest::keyClick(Widget(22), Qt::Key_Dollar, Qt::MetaModifier | Qt::ShiftModifier);
  EXPECT_EQ(GetGadgetText(22), "\u21e7\u23184");
  QTest::keyClick(Widget(22), Qt::Key_Backspace, Qt::ControlModifier);
  EXPECT_EQ(GetGadgetText(22), "");
  EXPECT_EQ(GetGadgetState(22), 0);
}

}  // namespace
