// -c: after the tool has ended, another program still reads the image from the clipboard.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "image_checks.h"
#include "test_display.h"
#include "test_pattern.h"
#include "tool_process.h"

namespace {

class CaptureClipboard : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(display.connected()) << "these tests run under with-xvfb";
    QSize size = display.rootSize();
    screen = blockPattern(size.width(), size.height(), 53);
    display.showOnRoot(screen);
  }

  QByteArray clipboardPng() {
    QByteArray png;
    EXPECT_TRUE(runProgram("xclip", {"-selection", "clipboard", "-t", "image/png", "-o"}, &png));
    return png;
  }

  TestDisplay display;
  QImage screen;
  QTemporaryDir folder;
};

TEST_F(CaptureClipboard, PngStaysOnTheClipboardAfterTheToolEnds) {
  QString path = folder.filePath("clip.png");
  ToolResult result = runTool({"-t", "png", "-x", "-c", path});
  ASSERT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QByteArray png = clipboardPng();
  EXPECT_EQ(png, file.readAll()) << "the clipboard holds the file's bytes";
  QImage image;
  ASSERT_TRUE(image.loadFromData(png, "PNG"));
  EXPECT_EQ(differingPixels(image, screen), 0);
}

}  // namespace
