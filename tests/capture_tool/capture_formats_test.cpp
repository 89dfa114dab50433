// Full-screen captures on one display, each format decoded and compared with what is on screen.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "image_checks.h"
#include "test_display.h"
#include "test_pattern.h"
#include "tool_process.h"

namespace {

class CaptureFormats : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(display.connected()) << "these tests run under with-xvfb";
    QSize size = display.rootSize();
    screen = blockPattern(size.width(), size.height(), 11);
    display.showOnRoot(screen);
  }

  QString capture(const QString& format, const QString& name) {
    QString path = folder.filePath(name);
    ToolResult result = runTool({"-t", format, "-x", path});
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
    EXPECT_TRUE(result.errorOutput.isEmpty()) << result.errorOutput.toStdString();
    return path;
  }

  TestDisplay display;
  QImage screen;
  QTemporaryDir folder;
};

TEST_F(CaptureFormats, PngHoldsExactlyTheScreenForTwoDecoders) {
  QString path = capture("png", "shot.png");
  EXPECT_EQ(differingPixels(readImage(path), screen), 0);
  EXPECT_EQ(differingPixels(readWithImageMagick(path), screen), 0);
}

TEST_F(CaptureFormats, TiffAndBmpHoldExactlyTheScreen) {
  for (QString format : {"tiff", "bmp"}) {
    SCOPED_TRACE(format.toStdString());
    QString path = capture(format, "shot." + format);
    EXPECT_EQ(differingPixels(readImage(path), screen), 0);
    EXPECT_EQ(differingPixels(readWithImageMagick(path), screen), 0);
  }
}

TEST_F(CaptureFormats, JpegIsCloseToTheScreen) {
  QString path = capture("jpg", "shot.jpeg");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.read(3).startsWith("\xff\xd8\xff")) << "not a JPEG file";
  double error = meanChannelError(readImage(path), screen);
  EXPECT_GE(error, 0) << "size differs";
  EXPECT_LE(error, 8.0);
}

TEST_F(CaptureFormats, PdfIsOneLosslessPageTheSizeOfTheScreen) {
  QString path = capture("pdf", "shot.pdf");
  QByteArray info;
  ASSERT_TRUE(runProgram("pdfinfo", {path}, &info));
  EXPECT_TRUE(QRegularExpression("Pages: +1\n").match(QString::fromUtf8(info)).hasMatch())
      << info.toStdString();
  QSize size = screen.size();
  // 96 pixels per inch on a page measured in points.
  QRegularExpression pageSize(
      QString("Page size: +%1 x %2 pts").arg(size.width() * 72 / 96).arg(size.height() * 72 / 96));
  EXPECT_TRUE(pageSize.match(QString::fromUtf8(info)).hasMatch()) << info.toStdString();

  QByteArray list;
  ASSERT_TRUE(runProgram("pdfimages", {"-list", path}, &list));
  EXPECT_FALSE(list.contains("jpeg")) << list.toStdString();
  EXPECT_EQ(differingPixels(readPdfImage(path), screen), 0);
}

}  // namespace
