// -s: a real drag with xdotool over the frozen screen, on two displays.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <functional>

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
  ToolResult selectWith(const QStringList& xdotoolWords,
                        const std::function<void()>& meanwhile = {}) {
    ToolRun tool({"-s", "-t", "png", "-x", path});
    if (!waitForVisibleWindow(selectionTitle())) {
      ADD_FAILURE() << "the selection overlay did not appear";
      return tool.wait();
    }
    if (meanwhile) meanwhile();
    EXPECT_TRUE(runProgram("xdotool", xdotoolWords));
    return tool.wait();
  }

  // A middle click on the way must not end the drag.
  ToolResult drag(QPoint from, QPoint to, const std::function<void()>& meanwhile = {}) {
    return selectWith({"mousemove", QString::number(from.x()), QString::number(from.y()),
                       "mousedown", "1", "mousemove", QString::number((from.x() + to.x()) / 2),
                       QString::number((from.y() + to.y()) / 2), "click", "2", "mousemove",
                       QString::number(to.x()), QString::number(to.y()), "mouseup", "1"},
                      meanwhile);
  }

  TestDisplay display;
  QImage screen;
  QTemporaryDir folder;
  QString path;
};

TEST_F(CaptureSelection, DragWritesExactlyTheDraggedRectangle) {
  const int half = screen.width() / 2;
  const QPoint lastPixel(screen.width() - 1, screen.height() - 1);
  struct Case {
    QPoint from, to;
    QRect expected;
  };
  const Case cases[] = {
      {{100, 120}, {300, 250}, {100, 120, 200, 130}},
      {{half + 250, 300}, {half + 40, 60}, {half + 40, 60, 210, 240}},  // upwards, second display
      {{half - 50, 10}, {half + 70, 90}, {half - 50, 10, 120, 80}},     // across both displays
      // The pointer stops on the last column and row: reaching them includes them.
      {lastPixel - QPoint(80, 50), lastPixel, {lastPixel - QPoint(80, 50), lastPixel}},
      {lastPixel, {half + 5, 7}, {QPoint(half + 5, 7), lastPixel}},
      {{half - 30, 100}, {half - 1, 140}, {half - 30, 100, 30, 40}},  // the first display's edge
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(QString("%1,%2 to %3,%4")
                     .arg(c.from.x())
                     .arg(c.from.y())
                     .arg(c.to.x())
                     .arg(c.to.y())
                     .toStdString());
    QFile::remove(path);
    ToolResult result = drag(c.from, c.to);
    ASSERT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
    EXPECT_EQ(differingPixels(readImage(path), screen.copy(c.expected)), 0);
  }
}

TEST_F(CaptureSelection, PictureIsTheScreenAsItWasWhenTheOverlayCameUp) {
  ToolResult result = drag({100, 120}, {300, 250}, [&] {
    display.showWindow({90, 110}, solidImage(300, 200, 0xffff0000), 0, 0);
    display.showOnRoot(solidImage(screen.width(), screen.height(), 0xff00ff00));
  });
  ASSERT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
  EXPECT_EQ(differingPixels(readImage(path), screen.copy(100, 120, 200, 130)), 0);
}

TEST_F(CaptureSelection, OverlayShowsTheScreenAtHalfBrightness) {
  ToolRun tool({"-s", "-x", path});
  ASSERT_TRUE(waitForVisibleWindow(selectionTitle()));
  auto offByMoreThanOne = [&](const QImage& shown) {
    long long count = 0;
    for (int y = 0; y < screen.height(); y += 7) {
      for (int x = 0; x < screen.width(); x += 5) {
        QRgb s = screen.pixel(x, y), d = shown.pixel(x, y);
        count += std::abs(qRed(s) / 2 - qRed(d)) > 1 || std::abs(qGreen(s) / 2 - qGreen(d)) > 1 ||
                 std::abs(qBlue(s) / 2 - qBlue(d)) > 1;
      }
    }
    return count;
  };
  // The dimmed screen is painted right after the overlay maps.
  QDeadlineTimer deadline(3000);
  while (offByMoreThanOne(display.rootImage()) > 0 && !deadline.hasExpired()) QThread::msleep(20);
  EXPECT_EQ(offByMoreThanOne(display.rootImage()), 0);
  runProgram("xdotool", {"key", "Escape"});
  EXPECT_EQ(tool.wait().exitCode, 1);
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
