// -C: the cursor image lands at the pointer, placed by its hot spot; without -C it is absent.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "image_checks.h"
#include "test_display.h"
#include "test_pattern.h"
#include "tool_process.h"

namespace {

constexpr QRgb kBackground = 0xff8040c0;

// The box around the pixels for which `marked` holds.
template <typename Marked>
QRect boxAround(const QImage& image, Marked marked) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (marked(image.pixel(x, y))) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

QRect changedArea(const QImage& image) {
  return boxAround(image, [](QRgb p) { return (p & 0xffffff) != (kBackground & 0xffffff); });
}

class CapturePointer : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(display.connected()) << "these tests run under with-xvfb";
    QSize size = display.rootSize();
    display.showOnRoot(solidImage(size.width(), size.height(), kBackground));
  }

  QImage captureAt(QPoint position, const QStringList& extraWords) {
    EXPECT_TRUE(runProgram(
        "xdotool", {"mousemove", QString::number(position.x()), QString::number(position.y())}));
    QString path = folder.filePath("pointer.png");
    QFile::remove(path);
    ToolResult result = runTool(QStringList{"-t", "png", "-x"} + extraWords + QStringList{path});
    EXPECT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
    return readImage(path);
  }

  TestDisplay display;
  QTemporaryDir folder;
};

TEST_F(CapturePointer, PointerIsDrawnAtItsHotSpot) {
  for (QPoint position : {QPoint(300, 200), QPoint(517, 333)}) {
    SCOPED_TRACE(position.x());
    QImage image = captureAt(position, {"-C"});
    TestDisplay::Cursor cursor = display.cursor();
    ASSERT_FALSE(cursor.image.isNull());
    ASSERT_EQ(cursor.position, position);
    QRect expected = boxAround(cursor.image, [](QRgb p) {
                       return qAlpha(p) > 0;
                     }).translated(position - cursor.hotSpot);
    ASSERT_FALSE(expected.isEmpty()) << "the cursor has no visible pixels";
    EXPECT_EQ(changedArea(image), expected);
    // Fully opaque cursor pixels replace the screen.
    for (int y = 0; y < cursor.image.height(); ++y) {
      for (int x = 0; x < cursor.image.width(); ++x) {
        QRgb c = cursor.image.pixel(x, y);
        if (qAlpha(c) != 255) continue;
        QPoint at = QPoint(x, y) + position - cursor.hotSpot;
        ASSERT_EQ(image.pixel(at) & 0xffffff, c & 0xffffff) << x << "," << y;
      }
    }
  }
}

TEST_F(CapturePointer, NoPointerWithoutTheWord) {
  QImage image = captureAt({300, 200}, {});
  ASSERT_FALSE(image.isNull());
  EXPECT_TRUE(changedArea(image).isEmpty());
}

}  // namespace
