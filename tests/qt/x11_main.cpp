// The X11 tests against the display in DISPLAY, a private Xvfb that with-xvfb starts.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  ::testing::InitGoogleTest(&argc, argv);
  if (getenv("DISPLAY") == nullptr) {
    std::fputs("x11 tests need DISPLAY: run them through tests/support/with-xvfb\n", stderr);
    return 1;
  }
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
