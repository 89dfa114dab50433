#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTemporaryDir>

#include "qt_fixture.h"

namespace {

using ScreenObjectsTest = QtToolkitTest;

TEST_F(ScreenObjectsTest, DisplaysAreTheScreensInPointsMainFirst) {
  ASSERT_EQ(DisplayCount(), 2);
  const DisplayRect main = DisplayGeometry(0);
  const DisplayRect right = DisplayGeometry(1);
  EXPECT_EQ(main.x, 0);
  EXPECT_EQ(main.width, 1280);
  EXPECT_EQ(main.height, 800);
  EXPECT_EQ(right.x, 1280);
  EXPECT_EQ(right.width, 1920);
  EXPECT_EQ(right.height, 1080);
  EXPECT_EQ(DisplayGeometry(2).width, 0);
  EXPECT_DOUBLE_EQ(MainDisplayScale(), 1.0);
}

TEST_F(ScreenObjectsTest, CentredWindowSitsInTheMiddleOfTheMainScreen) {
  NewWindow(2, IgnoreCoordinate, IgnoreCoordinate, 200, 100, "", WindowBorderless | WindowHidden);
  EXPECT_EQ(WindowX(2), 540);
  EXPECT_EQ(WindowY(2), 350);
  EXPECT_EQ(WindowContentWidth(2), 200);
  EXPECT_FALSE(WindowWidget(2)->isVisible());
  EXPECT_TRUE(WindowWidget(2)->windowFlags() & Qt::FramelessWindowHint);

  MoveWindow(2, 1400, IgnoreCoordinate, IgnoreCoordinate, 120);
  EXPECT_EQ(WindowX(2), 1400);
  EXPECT_EQ(WindowY(2), 350);
  EXPECT_EQ(WindowContentHeight(2), 120);
}

TEST_F(ScreenObjectsTest, ImagesKeepPixelsAndTakeAPointSize) {
  QTemporaryDir folder;
  const QString path = folder.path() + "/icon.png";
  QImage picture(36, 36, QImage::Format_ARGB32);
  picture.fill(Qt::red);
  ASSERT_TRUE(picture.save(path));

  ASSERT_EQ(LoadImage(4, path.toStdString()), 4);
  EXPECT_EQ(ImageWidth(4), 36);
  SetImageSize(4, 18, 18);
  auto* pixmap = static_cast<QPixmap*>(ImageHandle(4));
  EXPECT_EQ(pixmap->width(), 36);
  EXPECT_EQ(pixmap->deviceIndependentSize(), QSizeF(18, 18));

  ResizeImage(4, 18, 18);
  EXPECT_EQ(ImageWidth(4), 18);
  EXPECT_EQ(LoadImage(5, (folder.path() + "/missing.png").toStdString()), 0);
}

TEST_F(ScreenObjectsTest, MenuItemsShowTitleAndHintAndPostTheirNumber) {
  ASSERT_EQ(NewPopupMenu(0), 0);
  AddMenuItem(0, 1, "Capture Entire Screen (5 sec Timer)\tShift+Cmd+3");
  AddMenuItem(0, 2, "Capture Window...\tCtrl+Alt+W");
  AddMenuSeparator(0);
  OpenSubMenu(0, "More...");
  AddMenuItem(0, 6, "About");
  CloseSubMenu(0);
  AddMenuItem(0, 9, "Quit\tCmd+Q");
  ASSERT_EQ(CreateStatusItem(), 1);
  SetStatusItemMenu(0);
  QMenu* menu = toolkit.StatusItem()->contextMenu();
  ASSERT_NE(menu, nullptr);

  const QList<QAction*> actions = menu->actions();
  ASSERT_EQ(actions.size(), 5);
  EXPECT_EQ(actions[0]->text(), "Capture Entire Screen (5 sec Timer)");
  EXPECT_EQ(actions[0]->shortcut(), QKeySequence(Qt::META | Qt::SHIFT | Qt::Key_3));
  EXPECT_EQ(actions[1]->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_W));
  EXPECT_TRUE(actions[2]->isSeparator());
  ASSERT_NE(actions[3]->menu(), nullptr);
  EXPECT_EQ(actions[3]->text(), "More...");
  EXPECT_EQ(actions[4]->shortcut(), QKeySequence(Qt::META | Qt::Key_Q));

  QAction* about = actions[3]->menu()->actions().value(0);
  ASSERT_NE(about, nullptr);
  about->trigger();
  actions[1]->trigger();
  EXPECT_EQ(TakeEvents(), (std::vector<QueuedEvent>{{MenuEvent, 6, 0, 0}, {MenuEvent, 2, 0, 0}}));

  SetMenuItemDisabled(0, 6, 1);
  EXPECT_FALSE(about->isEnabled());
  SetMenuItemTitle(0, 1, "Capture Entire Screen\t");
  EXPECT_EQ(actions[0]->text(), "Capture Entire Screen");
  EXPECT_TRUE(actions[0]->shortcut().isEmpty());

  FreeMenu(0);
  EXPECT_EQ(toolkit.StatusItem()->contextMenu(), nullptr);
  RemoveStatusItem();
  EXPECT_EQ(toolkit.StatusItem(), nullptr);
}

}  // namespace
