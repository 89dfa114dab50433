#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "qt_fixture.h"

namespace {

constexpr std::int64_t Window = 1;

class GadgetEventsTest : public QtToolkitTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(NewWindow(Window, 100, 100, 400, 300, "Gadgets", WindowCloseButton), Window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(WindowWidget(Window)));
  }

  void ActivateWindow() {
    WindowWidget(Window)->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(WindowWidget(Window)));
  }

  // Opens the pop-up list and clicks one of its items, as a person does.
  static void ChoosePopUpItem(QComboBox* combo, int item) {
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    // The list ignores a release that comes sooner than a double click after it opened.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    const QRect itemRect = view->visualRect(view->model()->index(item, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, itemRect.center());
  }
};

TEST_F(GadgetEventsTest, ButtonClickPostsClickWithGadgetAndWindow) {
  NewButtonGadget(12, 10, 10, 100, 30, "Press");
  QTest::mouseClick(Widget(12), Qt::LeftButton);
  EXPECT_EQ(TakeEvents(), (std::vector<QueuedEvent>{{GadgetEvent, 12, Window, SubtypeClick}}));
}

TEST_F(GadgetEventsTest, CheckboxHasToggledWhenItsClickArrives) {
  NewCheckboxGadget(13, 10, 50, 200, 30, "Sound");
  // On the box itself: the empty part of the gadget's frame right of the label is no target.
  QTest::mouseClick(Widget(13), Qt::LeftButton, {}, QPoint(8, 15));
  ASSERT_EQ(NextEvent(0), GadgetEvent);
  EXPECT_EQ(EventNumber(), 13);
  EXPECT_EQ(GetGadgetState(13), 1);

  // Setting the state is not a click.
  SetGadgetState(13, 0);
  EXPECT_EQ(GetGadgetState(13), 0);
  EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(GadgetEventsTest, PopUpReportsChoosingTheItemAlreadySelected) {
  NewComboBoxGadget(14, 10, 90, 200, 30, 0);
  for (const char* item : {"PNG", "JPEG", "TIFF"}) AddGadgetItem(14, -1, item);
  SetGadgetState(14, 1);
  EXPECT_TRUE(TakeEvents().empty());
  auto* combo = static_cast<QComboBox*>(Widget(14));

  ChoosePopUpItem(combo, 1);
  EXPECT_EQ(TakeEvents(), (std::vector<QueuedEvent>{{GadgetEvent, 14, Window, SubtypeChange}}));
  ChoosePopUpItem(combo, 1);
  EXPECT_EQ(TakeEvents(), (std::vector<QueuedEvent>{{GadgetEvent, 14, Window, SubtypeChange}}));
  ChoosePopUpItem(combo, 2);
  EXPECT_EQ(TakeEvents(), (std::vector<QueuedEvent>{{GadgetEvent, 14, Window, SubtypeChange}}));
  EXPECT_EQ(GetGadgetState(14), 2);
  EXPECT_EQ(GetGadgetText(14), "TIFF");
}

TEST_F(GadgetEventsTest, EditableComboReportsFocusTypingAndEndOfEditing) {
  NewButtonGadget(12, 10, 10, 100, 30, "Other");
  NewComboBoxGadget(15, 10, 130, 200, 30, ComboEditable);
  AddGadgetItem(15, -1, "/home/a/");
  ActivateWindow();
  Widget(12)->setFocus();
  TakeEvents();

  SetActiveGadget(15);
  EXPECT_EQ(TakeEvents(), (std::vector<QueuedEvent>{{GadgetEvent, 15, Window, SubtypeFocus}}));
  EXPECT_EQ(FocusedGadget(), 15);

  QLineEdit* edit = static_cast<QComboBox*>(Widget(15))->lineEdit();
  QTest::keyClicks(edit, "xy");
  // Identical changes back to back arrive once.
  EXPECT_EQ(TakeEvents(), (std::vector<QueuedEvent>{{GadgetEvent, 15, Window, SubtypeChange}}));
  EXPECT_EQ(GetGadgetText(15), "/home/a/xy");

  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(TakeEvents(), (std::vector<QueuedEvent>{{GadgetEvent, 15, Window, SubtypeEditEnd}}));
  EXPECT_EQ(CountGadgetItems(15), 1) << "Return must not add the typed text as an item";
}

TEST_F(GadgetEventsTest, DisabledButtonPostsNothingAndFreedGadgetIsGone) {
  NewButtonGadget(12, 10, 10, 100, 30, "Press");
  DisableGadget(12, 1);
  QTest::mouseClick(Widget(12), Qt::LeftButton);
  EXPECT_TRUE(TakeEvents().empty());

  FreeGadget(12);
  EXPECT_EQ(GadgetExists(12), 0);
  EXPECT_TRUE(WindowWidget(Window)->findChildren<QPushButton*>().isEmpty());
}

TEST_F(GadgetEventsTest, CloseButtonLeavesTheWindowOpenAndReportsIt) {
  QWidget* window = WindowWidget(Window);
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(TakeEvents(), (std::vector<QueuedEvent>{{CloseWindowEvent, Window, Window, 0}}));

  DestroyWindow(Window);
  EXPECT_EQ(WindowExists(Window), 0);
}

TEST_F(GadgetEventsTest, TextColourAndFontApplyToTheWidget) {
  NewTextGadget(16, 10, 170, 200, 20, "Folder");
  SetGadgetColor(16, ColorFront, 0x0000FF);
  EXPECT_EQ(Widget(16)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  const std::int64_t font = NewFont(AutoNumber, "Sans", 21);
  SetGadgetFont(16, font);
  EXPECT_EQ(Widget(16)->font().pixelSize(), 21);
  SetGadgetText(16, "Dossier");
  EXPECT_EQ(GetGadgetText(16), "Dossier");
}

}  // namespace
