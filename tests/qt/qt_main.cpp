// The Qt tests on the offscreen platform with two screens side by side (1280x800 main, 1920x1080
// right), unless QT_QPA_PLATFORM names another; discovery runs this without the test's setting.
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
