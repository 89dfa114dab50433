// -s: a real drag with xdotool over the frozen screen, on two displays.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "image_checks.h"
#include "test_display.h"
#include "test_pattern.h"
#include "tool_process.h"

namespace {

class CaptureSelection : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(display.connected()) << "these tests run under with-xvfb --two-monitors";
    QSize size = display.rootSize();
    screen = blockPattern(size.width(), size.height(), 37);
    display.showOnRoot(screen);
    path = folder.filePath("area.png");
  }

  // Starts the tool, waits until it listens, then acts with xdotool.
  ToolResult selectWith(const QStringList& xdotoolWords) {
    ToolRun tool({"-s", "-t", "png", "-x", path});
    if (!waitForVisibleWindow(selectionTitle())) {
      ADD_FAILURE() << "the selection overlay did not appear";
      return tool.wait();
    }
    EXPECT_TRUE(runProgram("xdotool", xdotoolWords));
    return tool.wait();
  }

  ToolResult drag(QPoint from, QPoint to) {
    return selectWith({"mousemove", QString::number(from.x()), QString::number(from.y()),
                       "mousedown", "1", "mousemove", QString::number((from.x() + to.x()) / 2),
                       QString::number((from.y() + to.y()) / 2), "mousemove",
                       QString::number(to.x()), QString::number(to.y()), "mouseup", "1"});
  }

  TestDisplay display;
  QImage screen;
  QTemporaryDir folder;
  QString path;
};

TEST_F(CaptureSelection, DragWritesExactlyTheDraggedRectangle) {
  ToolResult result = drag({100, 120}, {300, 250});
  ASSERT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
  EXPECT_EQ(differingPixels(readImage(path), screen.copy(100, 120, 200, 130)), 0);
}

TEST_F(CaptureSelection, UpwardDragOnTheSecondDisplay) {
  int half = screen.width() / 2;
  ToolResult result = drag({half + 250, 300}, {half + 40, 60});
  ASSERT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
  EXPECT_EQ(differingPixels(readImage(path), screen.copy(half + 40, 60, 210, 240)), 0);
}

TEST_F(CaptureSelection, DragAcrossBothDisplays) {
  int half = screen.width() / 2;
  ToolResult result = drag({half - 50, 10}, {half + 70, 90});
  ASSERT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
  EXPECT_EQ(differingPixels(readImage(path), screen.copy(half - 50, 10, 120, 80)), 0);
}

TEST_F(CaptureSelection, EscapeRightClickAndAClickWithoutDragWriteNothing) {
  struct Case {
    const char* what;
    QStringList xdotoolWords;
  };
  const Case cases[] = {
      {"Escape", {"key", "Escape"}},
      {"Escape while dragging",
       {"mousemove", "50", "50", "mousedown", "1", "mousemove", "120", "140", "key", "Escape"}},
      {"right click", {"mousemove", "60", "60", "click", "3"}},
      {"click without drag", {"mousemove", "70", "80", "click", "1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ToolResult result = selectWith(c.xdotoolWords);
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_FALSE(QFile::exists(path));
    runProgram("xdotool", {"mouseup", "1"});
  }
}

}  // namespace
