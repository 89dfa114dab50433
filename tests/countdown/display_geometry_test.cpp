#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "capture/display_geometry.h"
#include "platform/headless/headless_platform.h"

namespace {

using Displays = std::vector<DisplayRect>;

// The main display, and a taller one to its right that starts above it.
const Displays SideBySide{{0, 0, 1280, 800}, {1280, -200, 1080, 1920}};

TEST(DisplayGeometry, WhichDisplayHoldsAPointEdgesIncluded) {
  const struct {
    Point point;
    int pointer, underWindow, nearest;
    const char* why;
  } cases[] = {
      {{640, 400}, 0, 0, 0, "inside the first"},
      {{1500, -150}, 1, 1, 1, "inside the second"},
      {{1280, 10}, 1, 0, 0, "a shared edge: the last for the pointer, else the first"},
      {{2360, 1720}, 1, 1, 1, "the far corner"},
      {{0, 0}, 0, 0, 0, "the near corner"},
      {{640, 801}, 0, -1, 0, "just below the first"},
      {{-300, 400}, 0, -1, 0, "left of everything"},
      {{1200, 1000}, 0, -1, 1, "80 right beats 200 down"},
      {{1200, 850}, 0, -1, 0, "50 down beats 80 right"},
      {{5000, -5000}, 0, -1, 1, "far out"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PointerDisplayIndex(SideBySide, c.point), c.pointer) << c.why;
    EXPECT_EQ(DisplayUnderWindow(SideBySide, c.point), c.underWindow) << c.why;
    EXPECT_EQ(NearestDisplayIndex(SideBySide, c.point), c.nearest) << c.why;
  }
  EXPECT_EQ(PointerDisplayIndex({}, {0, 0}), -1);
  EXPECT_EQ(DisplayUnderWindow(Displays{}, {0, 0}), -1);
  EXPECT_EQ(NearestDisplayIndex({}, {0, 0}), -1);
}

TEST(DisplayGeometry, CentresOnThePointersDisplayWithHalvesTruncatedTowardZero) {
  const auto at = [](const Displays& displays, Point pointer, int width, int height) {
    const std::optional<Point> corner = CentreOnPointerDisplay(displays, pointer, width, height);
    return corner ? std::vector<int>{corner->x, corner->y} : std::vector<int>{};
  };
  EXPECT_EQ(at(SideBySide, {1500, 0}, 220, 190), (std::vector<int>{1280 + 430, -200 + 865}));
  EXPECT_EQ(at(SideBySide, {640, 400}, 221, 191), (std::vector<int>{529, 304}));
  EXPECT_EQ(at(SideBySide, {9000, 9000}, 220, 190), (std::vector<int>{530, 305}));
  EXPECT_EQ(at({{0, 0, 1280, 800}}, {0, 0}, 1281, 1001), (std::vector<int>{0, -100}));
  EXPECT_EQ(at({}, {0, 0}, 220, 190), std::vector<int>{}) << "no displays: nowhere";

  headless::Platform platform;
  platform.toolkit.SetDisplays(SideBySide);
  platform.toolkit.SetPointer({2000, 1500});
  NewWindow(5, 10, 20, 300, 100, "", 0);
  CentreOnPointerDisplay(5);
  EXPECT_EQ(
      std::vector<int>({WindowX(5), WindowY(5), WindowContentWidth(5), WindowContentHeight(5)}),
      (std::vector<int>{1280 + 390, -200 + 910, 300, 100}));
  EXPECT_EQ(PointerDisplayIndex(), 1);
  EXPECT_EQ(DisplayUnderWindow(5), 1);
  EXPECT_EQ(DisplayUnderWindow(6), -1) << "no such window";
  platform.toolkit.SetDisplays({});
  CentreOnPointerDisplay(5);
  EXPECT_EQ(WindowX(5), 1280 + 390) << "without displays the window stays";
}

}  // namespace
