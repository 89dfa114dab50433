// Runs the X11 tests against the display in DISPLAY (a private Xvfb started by with-xvfb).
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  ::testing::InitGoogleTest(&argc, argv);
  if (std::getenv("DISPLAY") == nullptr) {
    std::fprintf(stderr, "x11 tests need DISPLAY: run them through tests/support/with-xvfb\n");
    return 1;
  }
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
