#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "capture/display_geometry.h"
#include "platform/headless/headless_platform.h"

namespace {

using Displays = std::vector<DisplayRect>;

// The main display, and a taller one to its right that starts above it.
const Displays SideBySide{{0, 0, 1280, 800}, {1280, -200, 1080, 1920}};

TEST(PointerDisplayIndex, FindsTheDisplayTriedFromTheLastAndFallsBackToTheFirst) {
  EXPECT_EQ(PointerDisplayIndex(SideBySide, {640, 400}), 0);
  EXPECT_EQ(PointerDisplayIndex(SideBySide, {1500, -150}), 1);
  EXPECT_EQ(PointerDisplayIndex(SideBySide, {1280, 10}), 1) << "a shared edge goes to the last";
  EXPECT_EQ(PointerDisplayIndex(SideBySide, {2360, 1720}), 1) << "edges included";
  EXPECT_EQ(PointerDisplayIndex(SideBySide, {640, 900}), 0) << "outside every display";
  EXPECT_EQ(PointerDisplayIndex(SideBySide, {-5, -5}), 0);
  EXPECT_EQ(PointerDisplayIndex({}, {0, 0}), -1);
}

TEST(DisplayUnderWindow, FindsTheFirstDisplayHoldingTheCornerOrNone) {
  EXPECT_EQ(DisplayUnderWindow(SideBySide, {0, 0}), 0);
  EXPECT_EQ(DisplayUnderWindow(SideBySide, {1300, 1000}), 1);
  EXPECT_EQ(DisplayUnderWindow(SideBySide, {1280, 10}), 0) << "a shared edge goes to the first";
  EXPECT_EQ(DisplayUnderWindow(SideBySide, {640, 801}), -1) << "outside every display";
  EXPECT_EQ(DisplayUnderWindow(SideBySide, {-1, 0}), -1);
  EXPECT_EQ(DisplayUnderWindow(Displays{}, {0, 0}), -1);
}

TEST(NearestDisplayIndex, IsTheHoldingDisplayElseTheClosestEdge) {
  EXPECT_EQ(NearestDisplayIndex(SideBySide, {1280, 10}), 0) << "held: as DisplayUnderWindow";
  EXPECT_EQ(NearestDisplayIndex(SideBySide, {-300, 400}), 0);
  EXPECT_EQ(NearestDisplayIndex(SideBySide, {1200, 1000}), 1) << "80 right beats 200 down";
  EXPECT_EQ(NearestDisplayIndex(SideBySide, {1200, 850}), 0) << "50 down beats 80 right";
  EXPECT_EQ(NearestDisplayIndex(SideBySide, {5000, -5000}), 1);
  EXPECT_EQ(NearestDisplayIndex({}, {0, 0}), -1);
}

TEST(CentreOnPointerDisplay, CentresWithHalvesTruncatedTowardZero) {
  const auto at = [](Displays displays, Point pointer, int width, int height) {
    const std::optional<Point> corner = CentreOnPointerDisplay(displays, pointer, width, height);
    return corner ? std::vector<int>{corner->x, corner->y} : std::vector<int>{};
  };
  EXPECT_EQ(at(SideBySide, {1500, 0}, 220, 190), (std::vector<int>{1280 + 430, -200 + 865}));
  EXPECT_EQ(at(SideBySide, {640, 400}, 221, 191), (std::vector<int>{529, 304}));
  EXPECT_EQ(at(SideBySide, {9000, 9000}, 220, 190), (std::vector<int>{530, 305}))
      << "a pointer on no display: the first";
  EXPECT_EQ(at({{0, 0, 1280, 800}}, {0, 0}, 1281, 1001), (std::vector<int>{0, -100}))
      << "a window larger than the display: -0.5 and -100.5 truncate toward zero";
  EXPECT_EQ(at({}, {0, 0}, 220, 190), std::vector<int>{}) << "no displays: nowhere";
}

TEST(CentreOnPointerDisplay, MovesTheWindowOnTheDesktopWhenThereIsADisplay) {
  headless::Platform platform;
  platform.toolkit.SetDisplays(SideBySide);
  platform.toolkit.SetPointer({2000, 1500});
  NewWindow(5, 10, 20, 300, 100, "", 0);
  CentreOnPointerDisplay(5);
  EXPECT_EQ(WindowX(5), 1280 + 390);
  EXPECT_EQ(WindowY(5), -200 + 910);
  EXPECT_EQ(WindowContentWidth(5), 300);
  EXPECT_EQ(WindowContentHeight(5), 100);
  EXPECT_EQ(PointerDisplayIndex(), 1);
  EXPECT_EQ(DisplayUnderWindow(5), 1);
  EXPECT_EQ(DisplayUnderWindow(6), -1) << "no such window";

  platform.toolkit.SetDisplays({});
  CentreOnPointerDisplay(5);
  EXPECT_EQ(WindowX(5), 1280 + 390) << "without displays the window stays";
}

}  // namespace
