// -W: the window under the pointer is captured with its frame (here: its X border).
#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include "image_checks.h"
#include "test_display.h"
#include "test_pattern.h"
#include "tool_process.h"

namespace {

constexpr QRgb kBorderColour = 0xff20c040;
const QRect kLower(100, 100, 200, 120);
const QRect kUpperFrame(200, 150, 246, 166);  // 240x160 inside a 3-pixel border

class CaptureWindow : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(display.connected()) << "these tests run under with-xvfb";
    QSize size = display.rootSize();
    desk = blockPattern(size.width(), size.height(), 41);
    display.showOnRoot(desk);
    // The lower window is partly covered: a click must pick the topmost window under it.
    QImage lower = blockPattern(kLower.width(), kLower.height(), 47);
    display.showWindow(kLower.topLeft(), lower, 0, 0);
    QImage upper = blockPattern(kUpperFrame.width() - 6, kUpperFrame.height() - 6, 43);
    display.showWindow(kUpperFrame.topLeft(), upper, 3, kBorderColour);
    QPainter painter(&desk);
    painter.drawImage(kLower.topLeft(), lower);
    painter.fillRect(kUpperFrame, QColor::fromRgb(kBorderColour));
    painter.drawImage(kUpperFrame.topLeft() + QPoint(3, 3), upper);
    path = folder.filePath("window.png");
  }

  ToolResult pickWith(const QStringList& xdotoolWords) {
    runProgram("xdotool", {"mousemove", "320", "230"});
    ToolRun tool({"-W", "-t", "png", "-o", "-x", path});
    if (!waitForVisibleWindow(windowPickerTitle())) {
      ADD_FAILURE() << "the window outline did not appear";
      return tool.wait();
    }
    EXPECT_TRUE(runProgram("xdotool", xdotoolWords));
    return tool.wait();
  }

  TestDisplay display;
  QImage desk;  // what the screen shows
  QTemporaryDir folder;
  QString path;
};

TEST_F(CaptureWindow, ClickPicksTheTopmostWindowUpToItsFramesEdges) {
  struct Case {
    QPoint click;
    QRect picked;  // empty: the bare desktop, so picking goes on until Escape
  };
  const Case cases[] = {
      {kUpperFrame.topLeft(), kUpperFrame},
      {kUpperFrame.bottomRight(), kUpperFrame},
      {kUpperFrame.topLeft() - QPoint(1, -10), kLower},
      {kLower.bottomLeft(), kLower},
      {kUpperFrame.topRight() + QPoint(1, 0), QRect()},
      {kUpperFrame.bottomLeft() + QPoint(0, 1), QRect()},
      {kLower.topLeft() - QPoint(1, 1), QRect()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(QString("click at %1,%2").arg(c.click.x()).arg(c.click.y()).toStdString());
    QFile::remove(path);
    ToolResult result =
        pickWith({"mousemove", "230", "180", "mousemove", QString::number(c.click.x()),
                  QString::number(c.click.y()), "click", "1", "key", "Escape"});
    if (c.picked.isEmpty()) {
      EXPECT_EQ(result.exitCode, 1);
      EXPECT_FALSE(QFile::exists(path));
      continue;
    }
    ASSERT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
    EXPECT_EQ(differingPixels(readImage(path), desk.copy(c.picked)), 0);
  }
}

}  // namespace
