// Runs the Qt tests on Qt's offscreen platform with two screens side by side, a 1280x800 main
// screen and a 1920x1080 one to its right, unless QT_QPA_PLATFORM names another (the X11 tests
// set xcb). Test discovery runs this binary without the test's environment, so the platform is
// chosen here.
#include <gtest/gtest.h>

#include <QApplication>

#include "support/support.h"

int main(int argc, char** argv) {
  // Qt's folder chooser remembers its last folder in the user's configuration folder.
  TemporaryHome home;
  const std::string screens = home.scratch.WriteFile(
      "screens.json", R"({"screens":[{"name":"a","x":0,"y":0,"width":1280,"height":800},)"
                      R"({"name":"b","x":1280,"y":0,"width":1920,"height":1080}]})");
  setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screens).c_str(), 0);
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
