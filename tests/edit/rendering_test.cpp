#include <gtest/gtest.h>

#include <QPainter>

#include "edit_history.h"
#include "picture_filters.h"
#include "picture_rendering.h"

namespace {

QImage paper(int width = 200, int height = 160) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

Item make(Tool kind, QPolygonF points, int width = 4, bool filled = false) {
  Item item;
  item.kind = kind;
  item.points = std::move(points);
  item.width = width;
  item.filled = filled;
  item.color = QColor(220, 0, 0);
  return item;
}

bool isRed(QRgb pixel) {
  return qRed(pixel) > 150 && qGreen(pixel) < 100 && qBlue(pixel) < 100;
}

struct ShapeCase {
  const char* name;
  Item item;
  std::vector<QPoint> inked;  // on the drawn geometry: these must turn red
  std::vector<QPoint> clear;  // inside the reach but off the geometry: these stay white
  QRect reach;                // nothing outside this changes
};

TEST(EditRendering, EachShapeInksItsGeometryAndNothingElse) {
  Item text = make(Tool::Text, {QPointF(30, 30)});
  text.text = "HH";
  text.fontSize = 40;
  Item step = make(Tool::Step, {QPointF(100, 80)}, 3);
  step.number = 1;
  const ShapeCase cases[] = {
      {"line",
       make(Tool::Line, {{20, 20}, {180, 20}}),
       {{100, 20}, {21, 20}},
       {{100, 26}},
       QRect(QPoint(17, 17), QPoint(183, 23))},
      {"arrow",
       make(Tool::Arrow, {{20, 80}, {180, 80}}, 3),
       {{100, 80}, {176, 80}, {166, 85}},
       {{100, 86}, {150, 95}},
       QRect(QPoint(18, 60), QPoint(182, 100))},
      {"rectangle",
       make(Tool::Rectangle, {{40, 40}, {160, 120}}),
       {{40, 80}, {160, 80}, {100, 40}, {100, 120}},
       {{100, 80}, {45, 45}},
       QRect(QPoint(37, 37), QPoint(163, 123))},
      {"filled rectangle",
       make(Tool::Rectangle, {{40, 40}, {160, 120}}, 4, true),
       {{100, 80}, {42, 42}},
       {},
       QRect(QPoint(37, 37), QPoint(163, 123))},
      {"ellipse",
       make(Tool::Ellipse, {{40, 40}, {160, 120}}),
       {{40, 80}, {160, 80}, {100, 40}, {100, 120}},
       {{100, 80}, {45, 45}},
       QRect(QPoint(37, 37), QPoint(163, 123))},
      {"filled ellipse",
       make(Tool::Ellipse, {{40, 40}, {160, 120}}, 4, true),
       {{100, 80}},
       {{45, 45}, {155, 115}},
       QRect(QPoint(37, 37), QPoint(163, 123))},
      {"pen",
       make(Tool::Pen, {{20, 20}, {100, 100}, {180, 20}}, 3),
       {{60, 60}, {140, 60}},
       {{100, 20}, {100, 60}},
       QRect(QPoint(17, 17), QPoint(183, 103))},
      {"text", text, {}, {}, QRect(30, 30, 100, 60)},
      {"step", step, {{88, 80}, {100, 68}}, {{118, 80}}, QRect(84, 64, 33, 33)},
  };
  for (const ShapeCase& row : cases) {
    SCOPED_TRACE(row.name);
    Picture picture{paper(), {row.item}};
    QImage result = renderPicture(picture);
    for (QPoint p : row.inked) EXPECT_TRUE(isRed(result.pixel(p))) << p.x() << "," << p.y();
    for (QPoint p : row.clear)
      EXPECT_EQ(result.pixel(p), qRgb(255, 255, 255)) << p.x() << "," << p.y();
    int changed = 0, outside = 0;
    for (int y = 0; y < result.height(); ++y) {
      for (int x = 0; x < result.width(); ++x) {
        if (result.pixel(x, y) == qRgb(255, 255, 255)) continue;
        ++changed;
        if (!row.reach.contains(x, y)) ++outside;
      }
    }
    EXPECT_GT(changed, 20);
    EXPECT_EQ(outside, 0);
  }
}

TEST(EditRendering, HighlighterColoursPaperAndLeavesTextDark) {
  QImage base = paper();
  QPainter(&base).fillRect(50, 75, 100, 10, Qt::black);
  Item marker = make(Tool::Highlighter, {{20, 80}, {180, 80}}, 5);
  marker.color = QColor(255, 230, 0);
  QImage result = renderPicture(Picture{base, {marker}});
  EXPECT_EQ(result.pixel(100, 80), qRgb(0, 0, 0));
  QRgb lit = result.pixel(30, 80);
  EXPECT_GT(qGreen(lit), 200);
  EXPECT_LT(qBlue(lit), 60);
  EXPECT_EQ(result.pixel(100, 100), qRgb(255, 255, 255));
}

TEST(EditRendering, BlurSoftensEdgesOnlyInsideItsArea) {
  QImage base = paper();
  QPainter(&base).fillRect(0, 0, 100, 160, Qt::black);
  QImage result = renderPicture(Picture{base, {make(Tool::Blur, {{40, 40}, {160, 120}})}});
  int grey = qGreen(result.pixel(100, 80));
  EXPECT_GT(grey, 30);
  EXPECT_LT(grey, 225);
  EXPECT_EQ(result.pixel(50, 80), qRgb(0, 0, 0));
  EXPECT_EQ(result.pixel(100, 30), base.pixel(100, 30));
  EXPECT_EQ(result.pixel(99, 130), base.pixel(99, 130));
}

TEST(EditRendering, PixelationHoldsOneColourPerBlockAndNoneIsItsOwnMean) {
  QImage base = paper(240, 120);
  {
    QPainter painter(&base);
    QFont font;
    font.setPixelSize(40);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 240, 120), Qt::AlignCenter, "Secret 1234");
  }
  const QRect area(12, 12, kPixelBlock * 18, kPixelBlock * 8);
  Item mask = make(Tool::Pixelate, {area.topLeft(), area.bottomRight() + QPointF(1, 1)});
  mask.maskKey = 0x5eed;
  QImage result = renderPicture(Picture{base, {mask}});
  for (int top = area.top(); top < area.bottom(); top += kPixelBlock) {
    for (int left = area.left(); left < area.right(); left += kPixelBlock) {
      QRgb first = result.pixel(left, top);
      long sum[3] = {0, 0, 0};
      bool oneColour = true;
      for (int y = top; y < top + kPixelBlock; ++y) {
        for (int x = left; x < left + kPixelBlock; ++x) {
          oneColour &= result.pixel(x, y) == first;
          sum[0] += qRed(base.pixel(x, y));
          sum[1] += qGreen(base.pixel(x, y));
          sum[2] += qBlue(base.pixel(x, y));
        }
      }
      const long n = kPixelBlock * kPixelBlock;
      EXPECT_TRUE(oneColour) << left << "," << top;
      EXPECT_NE(first, qRgb(sum[0] / n, sum[1] / n, sum[2] / n)) << left << "," << top;
    }
  }
  for (int x = 0; x < base.width(); ++x) EXPECT_EQ(result.pixel(x, 5), base.pixel(x, 5));
  for (int y = 0; y < base.height(); ++y) EXPECT_EQ(result.pixel(235, y), base.pixel(235, y));
}

TEST(EditHistory, UndoAndRedoReturnTheExactPixels) {
  EditHistory history;
  history.now.base = paper();
  std::vector<QImage> states{renderPicture(history.now)};
  const Item steps[] = {make(Tool::Rectangle, {{10, 10}, {90, 70}}),
                        make(Tool::Pixelate, {{0, 0}, {120, 100}}),
                        make(Tool::Pen, {{5, 150}, {60, 20}, {190, 90}}, 6)};
  for (const Item& item : steps) {
    recordChange(history);
    history.now.items.push_back(item);
    states.push_back(renderPicture(history.now));
  }
  recordChange(history);
  cropPicture(history.now, QRect(30, 20, 70, 50));
  states.push_back(renderPicture(history.now));
  for (int i = static_cast<int>(states.size()) - 2; i >= 0; --i) {
    ASSERT_TRUE(undoChange(history));
    EXPECT_EQ(renderPicture(history.now), states[i]) << "undo to " << i;
  }
  EXPECT_FALSE(undoChange(history));
  for (size_t i = 1; i < states.size(); ++i) {
    ASSERT_TRUE(redoChange(history));
    EXPECT_EQ(renderPicture(history.now), states[i]) << "redo to " << i;
  }
  EXPECT_FALSE(redoChange(history));
}

TEST(EditItems, CropGivesTheExactSizeAndKeepsItemsOnTheirPixels) {
  struct Row {
    QRect area;
    QSize expected;
  };
  const Row rows[] = {{QRect(30, 20, 70, 50), QSize(70, 50)},
                      {QRect(150, 100, 100, 100), QSize(50, 60)},
                      {QRect(0, 0, 1, 1), QSize(1, 1)}};
  for (const Row& row : rows) {
    Picture picture{paper(), {make(Tool::Rectangle, {{40, 40}, {160, 120}}, 1, true)}};
    QRgb before = renderPicture(picture).pixel(row.area.topLeft() + QPoint(0, 0));
    cropPicture(picture, row.area);
    QImage result = renderPicture(picture);
    EXPECT_EQ(result.size(), row.expected);
    EXPECT_EQ(result.pixel(0, 0), before);
  }
}

TEST(EditItems, PickingMovingAndNumbering) {
  Picture picture{paper(),
                  {make(Tool::Rectangle, {{10, 10}, {100, 100}}), make(Tool::Step, {{50, 50}}, 3)}};
  picture.items[1].number = 4;
  EXPECT_EQ(itemAt(picture, {50, 50}), 1);
  EXPECT_EQ(itemAt(picture, {90, 90}), 0);
  EXPECT_EQ(itemAt(picture, {150, 150}), -1);
  EXPECT_EQ(nextStepNumber(picture), 5);
  moveItem(picture.items[0], {20, 5});
  EXPECT_EQ(itemRect(picture.items[0]), QRectF(30, 15, 90, 90));
  Item& box = picture.items[0];
  resizeItem(box, QRectF(0, 0, 50, 40).adjusted(-3, -3, 3, 3));
  EXPECT_EQ(itemRect(box), QRectF(0, 0, 50, 40));
}

}  // namespace
