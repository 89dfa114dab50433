#include <gtest/gtest.h>

#include <QGuiApplication>

// Text is drawn with real fonts, which need an application; offscreen needs no display.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
