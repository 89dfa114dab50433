// Runs the Qt tests on Qt's offscreen platform with two screens side by side: a 1280x800 main
// screen and a 1920x1080 one to its right. Test discovery runs this binary without the test's
// environment, so the platform is chosen here.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  QTemporaryDir folder;
  const QString screens = folder.path() + "/screens.json";
  if (std::FILE* f = std::fopen(screens.toLocal8Bit().constData(), "w")) {
    std::fputs(R"({"screens":[{"name":"a","x":0,"y":0,"width":1280,"height":800},)"
               R"({"name":"b","x":1280,"y":0,"width":1920,"height":1080}]})",
               f);
    std::fclose(f);
  }
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
    const QByteArray platform = "offscreen:configfile=" + screens.toLocal8Bit();
    setenv("QT_QPA_PLATFORM", platform.constData(), 1);
  }
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
