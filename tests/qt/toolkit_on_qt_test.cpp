#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>

#include "qt_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using EventWait = QtToolkitTest;

TEST_F(EventWait, ATimeOutSleepsAndAWakeOrAPostEndsTheWait) {
  TakeEvents();
  const std::clock_t cpu = std::clock();
  Clock::time_point start = Clock::now();
  std::int32_t kind = -1;
  // A system event that queues nothing ends a wait with -1; the time-out ends it with 0.
  while (kind == -1) kind = NextEvent(300);
  EXPECT_EQ(kind, 0);
  EXPECT_GE(Clock::now() - start, milliseconds(290));
  EXPECT_LT(std::clock() - cpu, CLOCKS_PER_SEC / 10) << "the wait must not spin";
  std::thread waker([] {
    std::this_thread::sleep_for(milliseconds(100));
    InstalledNativeToolkit()->Wake();
  });
  start = Clock::now();
  EXPECT_EQ(NextEvent(), -1);
  waker.join();
  EXPECT_GE(Clock::now() - start, milliseconds(90));
  QTimer::singleShot(50, [] { QueueEvent(HotkeyEvent3, 0, HotkeyWindow, 0, PostCustom); });
  for (kind = -1; kind == -1;) kind = NextEvent(5000);
  EXPECT_EQ(kind, HotkeyEvent3);
  QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit));
  EXPECT_EQ(TakeEvents(), (Events{{MenuEvent, QuitMenuNumber, ApplicationMenuWindow, 0}}));
}

std::vector<std::int64_t> fired;  // the timer of each firing
void Fire(std::int64_t timer, void*) {
  fired.push_back(timer);
}
void FireOnce(std::int64_t timer, void*) {
  fired.push_back(timer);
  RemoveTimer(timer);
}

TEST_F(EventWait, TimersFireInsideTheWaitUntilRemovedEvenFromTheirOwnCallback) {
  const std::int64_t once = AddTimer(5, FireOnce, nullptr), timer = AddTimer(10, Fire, nullptr);
  for (const auto end = Clock::now() + std::chrono::seconds(5);
       std::count(fired.begin(), fired.end(), timer) < 3 && Clock::now() < end;) {
    NextEvent(100);
  }
  RemoveTimer(timer);
  while (NextEvent(60) != 0) {
  }
  EXPECT_EQ(std::count(fired.begin(), fired.end(), once), 1);
  EXPECT_EQ(std::count(fired.begin(), fired.end(), timer), 3) << "removed after its third";
}

class Gadgets : public QtToolkitTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(NewWindow(1, 100, 100, 400, 300, "Gadgets", WindowCloseButton), 1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(WindowWidget(1)));
    WindowWidget(1)->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(WindowWidget(1)));
  }
  // Opens the pop-up list and clicks one of its items, as a person does.
  static void Choose(QComboBox* combo, int item) {
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    // The list ignores a release that comes sooner than a double click after it opened.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(item, 0)).center());
  }
};

TEST_F(Gadgets, ClicksAndChoicesPostTheirGadgetWithTheNewState) {
  NewButtonGadget(12, 10, 10, 100, 30, "Press");
  NewCheckboxGadget(13, 10, 50, 200, 30, "Sound");
  NewComboBoxGadget(14, 10, 90, 200, 30, 0);
  for (const char* item : {"PNG", "JPEG", "TIFF"}) AddGadgetItem(14, -1, item);
  AddGadgetItem(14, 0, "BMP");
  SetGadgetItemText(14, 0, "PDF");
  SetGadgetState(14, 1);
  SetGadgetState(13, 1);
  SetGadgetState(13, 0);
  EXPECT_EQ(TakeEvents(), Events{}) << "setting a state is not a click";
  QTest::mouseClick(Widget(12), Qt::LeftButton);
  EXPECT_EQ(TakeEvents(), (Events{{GadgetEvent, 12, 1, SubtypeClick}}));
  // On the box itself: the empty part of the frame right of the label is no target.
  QTest::mouseClick(Widget(13), Qt::LeftButton, {}, QPoint(8, 15));
  ASSERT_EQ(NextEvent(0), GadgetEvent);
  EXPECT_EQ(GetGadgetState(13), 1) << "the box toggled before its click arrived";
  for (const int item : {1, 1, 3}) {  // choosing the selected item is reported too
    Choose(static_cast<QComboBox*>(Widget(14)), item);
    EXPECT_EQ(TakeEvents(), (Events{{GadgetEvent, 14, 1, SubtypeChange}}));
  }
  EXPECT_EQ(GetGadgetState(14), 3);
  EXPECT_EQ(GetGadgetText(14) + GetGadgetItemText(14, 0) + GetGadgetItemText(14, 4), "TIFFPDF");
  EXPECT_EQ(CountGadgetItems(14), 4);
  DisableGadget(12, 1);
  QTest::mouseClick(Widget(12), Qt::LeftButton);
  EXPECT_EQ(TakeEvents(), Events{}) << "disabled";
  FreeGadget(12);
  EXPECT_TRUE(WindowWidget(1)->findChildren<QPushButton*>().isEmpty());
}

TEST_F(Gadgets, TheCloseButtonOnlyReportsAndTextsColoursAndFontsReachTheWidgets) {
  EXPECT_FALSE(WindowWidget(1)->close());
  EXPECT_TRUE(WindowWidget(1)->isVisible());
  EXPECT_EQ(TakeEvents(), (Events{{CloseWindowEvent, 1, 1, 0}}));
  NewTextGadget(16, 10, 170, 200, 20, "Folder");
  SetGadgetColor(16, ColorFront, 0x0000FF);
  EXPECT_EQ(Widget(16)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  SetGadgetFont(16, NewFont(AutoNumber, "Sans", 21));
  EXPECT_EQ(Widget(16)->font().pixelSize(), 21);
  SetGadgetText(16, "Dossier");
  SetWindowTitle(1, "Fenêtre");
  EXPECT_EQ(GetGadgetText(16) + GetWindowTitle(1), "DossierFenêtre");
  DestroyWindow(1);
  EXPECT_EQ(WindowExists(1), 0);
}

using ScreenObjects = QtToolkitTest;

TEST_F(ScreenObjects, DisplaysInPointsMainFirstAndCentredWindowsOnTheMain) {
  ASSERT_EQ(DisplayCount(), 2);
  const DisplayRect right = DisplayGeometry(1);
  EXPECT_EQ(std::vector<int>({DisplayGeometry(0).width, DisplayGeometry(0).height, right.x,
                              right.width, right.height, DisplayGeometry(2).width}),
            (std::vector<int>{1280, 800, 1280, 1920, 1080, 0}));
  EXPECT_DOUBLE_EQ(MainDisplayScale(), 1.0);
  NewWindow(2, IgnoreCoordinate, 5, 200, 100, "", WindowBorderless | WindowHidden);
  EXPECT_EQ(std::vector<int>({WindowX(2), WindowY(2), WindowContentWidth(2)}),
            (std::vector<int>{540, 350, 200}));
  EXPECT_FALSE(WindowWidget(2)->isVisible());
  EXPECT_TRUE(WindowWidget(2)->windowFlags() & Qt::FramelessWindowHint);
  MoveWindow(2, 1400, IgnoreCoordinate, IgnoreCoordinate, 120);
  EXPECT_EQ(std::vector<int>({WindowX(2), WindowY(2), WindowContentHeight(2)}),
            (std::vector<int>{1400, 350, 120}));
  SetWindowFloating(2, 1);
  EXPECT_TRUE(WindowWidget(2)->windowFlags() & Qt::WindowStaysOnTopHint);
}

// A menu as shown: each item's text and key, submenus in brackets.
QString Shown(const QMenu* menu) {
  QString text;
  for (const QAction* a : menu->actions()) {
    text += a->isSeparator() ? "-|" : a->text() + "=" + a->shortcut().toString() + "|";
    if (a->menu() != nullptr) text += "[" + Shown(a->menu()) + "]";
  }
  return text;
}

TEST_F(ScreenObjects, MenuItemsShowTitleAndHintAndPostTheirNumber) {
  ASSERT_EQ(NewPopupMenu(0), 0);
  AddMenuItem(0, 1, "Capture Entire Screen (5 sec Timer)\tShift+Cmd+3");
  AddMenuItem(0, 2, "Capture Window...\tCtrl+Alt+F5");
  AddMenuSeparator(0);
  OpenSubMenu(0, "More...");
  AddMenuItem(0, 6, "About");
  CloseSubMenu(0);
  AddMenuItem(0, 9, "Quit\tCmd+Q");
  ASSERT_EQ(CreateStatusItem(), 1);
  SetStatusItemMenu(0);
  QMenu* menu = toolkit.StatusItem()->contextMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Shown(menu),
            "Capture Entire Screen (5 sec Timer)=Meta+Shift+3|Capture Window...=Ctrl+Alt+F5|-|"
            "More...=|[About=|]Quit=Meta+Q|");
  menu->actions()[3]->menu()->actions()[0]->trigger();
  menu->actions()[1]->trigger();
  EXPECT_EQ(TakeEvents(), (Events{{MenuEvent, 6, 0, 0}, {MenuEvent, 2, 0, 0}}));
  SetMenuItemDisabled(0, 6, 1);
  EXPECT_FALSE(menu->actions()[3]->menu()->actions()[0]->isEnabled());
  SetMenuItemTitle(0, 1, "Capture Entire Screen\t");
  EXPECT_TRUE(Shown(menu).startsWith("Capture Entire Screen=|Capture Window..."));
  FreeMenu(0);
  EXPECT_EQ(toolkit.StatusItem()->contextMenu(), nullptr);
  RemoveStatusItem();
  EXPECT_EQ(toolkit.StatusItem(), nullptr);
}

}  // namespace
