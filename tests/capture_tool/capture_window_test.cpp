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

class CaptureWindow : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(display.connected()) << "these tests run under with-xvfb";
    QSize size = display.rootSize();
    display.showOnRoot(blockPattern(size.width(), size.height(), 41));
    // A window partly under the one to capture: the click must pick the topmost.
    display.showWindow({100, 100}, blockPattern(200, 120, 47), 0, 0);
    content = blockPattern(240, 160, 43);
    display.showWindow({200, 150}, content, 3, kBorderColour);
    path = folder.filePath("window.png");
  }

  QImage windowWithBorder() const {
    QImage framed(content.width() + 6, content.height() + 6, QImage::Format_RGB32);
    framed.fill(kBorderColour);
    QPainter painter(&framed);
    painter.drawImage(3, 3, content);
    return framed;
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
  QImage content;
  QTemporaryDir folder;
  QString path;
};

TEST_F(CaptureWindow, ClickWritesTheTopmostWindowWithItsFrame) {
  // Over the overlap first, so the pick has to follow the pointer to the top window.
  ToolResult result = pickWith({"mousemove", "230", "180", "click", "1"});
  ASSERT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
  EXPECT_EQ(differingPixels(readImage(path), windowWithBorder()), 0);
}

TEST_F(CaptureWindow, EscapeWritesNothing) {
  ToolResult result = pickWith({"key", "Escape"});
  EXPECT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
