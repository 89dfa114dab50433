#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"
#include "platform/toolkit.h"

namespace {

TEST(WindowLook, APlateIsKeptPerWindowAndNeedsAWindow) {
  headless::Platform platform;
  SetWindowBackground(7, 0xFFFFFF, 12);
  SetWindowOpacity(7, 0.5);
  EXPECT_EQ(platform.toolkit.LookOf(7).background, -1) << "no window: nothing";
  NewWindow(7, 0, 0, 220, 190, "", WindowBorderless);
  SetWindowBackground(7, 0x1234567, -3);
  SetWindowOpacity(7, 1.5);
  EXPECT_EQ(platform.toolkit.LookOf(7).background, 0x234567) << "a colour is three bytes";
  EXPECT_EQ(platform.toolkit.LookOf(7).cornerRadius, 0);
  EXPECT_DOUBLE_EQ(platform.toolkit.LookOf(7).opacity, 1.0);
  DestroyWindow(7);
  NewWindow(7, 0, 0, 220, 190, "", WindowBorderless);
  EXPECT_EQ(platform.toolkit.LookOf(7).background, -1) << "a new window has the desktop's look";
}

}  // namespace
