// Two displays side by side: the main one, the one chosen with -D, and the engine's full word list.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "image_checks.h"
#include "test_display.h"
#include "test_pattern.h"
#include "tool_process.h"

namespace {

class CaptureDisplays : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(display.connected()) << "these tests run under with-xvfb --two-monitors";
    QSize size = display.rootSize();
    screen = blockPattern(size.width(), size.height(), 23);
    display.showOnRoot(screen);
    half = size.width() / 2;
  }

  QImage left() const { return screen.copy(0, 0, half, screen.height()); }
  QImage right() const { return screen.copy(half, 0, half, screen.height()); }

  TestDisplay display;
  QImage screen;
  int half = 0;
  QTemporaryDir folder;
};

TEST_F(CaptureDisplays, NoModeWordTakesTheMainDisplayOnly) {
  QString path = folder.filePath("main.png");
  ToolResult result = runTool({"-t", "png", "-x", path});
  ASSERT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
  EXPECT_EQ(differingPixels(readImage(path), left()), 0);
}

TEST_F(CaptureDisplays, DisplayTwoGivesTheSecondDisplaysPixels) {
  QString apart = folder.filePath("apart.png");
  QString glued = folder.filePath("glued.png");
  ToolResult first = runTool({"-t", "png", "-D", "2", "-x", apart});
  ToolResult second = runTool({"-t", "png", "-D2", "-x", glued});
  ASSERT_EQ(first.exitCode, 0) << first.errorOutput.toStdString();
  ASSERT_EQ(second.exitCode, 0) << second.errorOutput.toStdString();
  EXPECT_EQ(differingPixels(readImage(apart), right()), 0);
  EXPECT_EQ(differingPixels(readImage(glued), right()), 0);
  QString main = folder.filePath("main.png");
  ToolResult one = runTool({"-t", "png", "-D1", "-x", main});
  ASSERT_EQ(one.exitCode, 0) << one.errorOutput.toStdString();
  EXPECT_EQ(differingPixels(readImage(main), left()), 0);
}

TEST_F(CaptureDisplays, ADisplayThatDoesNotExistIsRefused) {
  QString path = folder.filePath("third.png");
  ToolResult result = runTool({"-t", "png", "-D3", "-x", path});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.errorOutput.count('\n'), 1) << result.errorOutput.toStdString();
  EXPECT_TRUE(result.errorOutput.contains("display 3")) << result.errorOutput.toStdString();
  EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
