// The tool as the engine calls it, on two displays: its word orders, what it refuses, the
// clipboard, and its outside helpers (viewer, shutter sound), which are replaced here by
// stand-ins that record their arguments.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "image_checks.h"
#include "test_display.h"
#include "test_pattern.h"
#include "tool_process.h"

namespace {

QString readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool waitForFileText(const QString& path) {
  QDeadlineTimer deadline(10000);
  while (!deadline.hasExpired()) {
    if (!readAll(path).isEmpty()) return true;
    QThread::msleep(20);
  }
  return false;
}

class CaptureWords : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(display.connected()) << "these tests run under with-xvfb --two-monitors";
    QSize size = display.rootSize();
    screen = blockPattern(size.width(), size.height(), 61);
    display.showOnRoot(screen);
    ASSERT_TRUE(QDir().mkpath(fakes.filePath("bin")));
    // Files named by a word the tool took for a path would land here.
    QDir::setCurrent(folder.path());
  }

  // A stand-in program that lists its open descriptors in NAME.fds, then writes one line per
  // call: its name, then "ok" and its last argument when that is a non-empty file, or just its
  // arguments.
  void addStandIn(const QString& name) {
    QString script = fakes.filePath("bin/" + name);
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QString("#!/bin/sh\n"
                       "ls /proc/self/fd > '%2.fds'\n"
                       "for last; do :; done\n"
                       "if [ -s \"$last\" ]; then echo \"%1 ok $last\" >> '%2'\n"
                       "else echo \"%1 $*\" >> '%2'; fi\n")
                   .arg(name, record(name))
                   .toUtf8());
    file.close();
    ASSERT_TRUE(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  }

  QString record(const QString& name) const { return fakes.filePath(name + ".log"); }

  QProcessEnvironment withStandIns() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PATH", fakes.filePath("bin") + ":" + environment.value("PATH"));
    return environment;
  }

  QStringList filesIn(const QString& path) const {
    return QDir(path).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
  }

  TestDisplay display;
  QImage screen;
  QTemporaryDir folder;
  QTemporaryDir fakes;
};

TEST_F(CaptureWords, EngineFullScreenOrderWithEveryOption) {
  addStandIn("xdg-open");
  QString path = folder.filePath("vs_cap_full_2024-04-05-023015.jpeg");
  // A descriptor the tool inherits without close-on-exec must not reach the viewer.
  int opened = ::open("/dev/null", O_RDONLY);
  int inherited = ::fcntl(opened, F_DUPFD, 300);
  ::close(opened);
  ToolResult result = runTool({"-t", "jpg", "-D2", "-x", "-C", "-P", "-c", path}, withStandIns());
  ::close(inherited);
  ASSERT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
  QImage right = screen.copy(screen.width() / 2, 0, screen.width() / 2, screen.height());
  EXPECT_EQ(readImage(path).size(), right.size());
  ASSERT_TRUE(waitForFileText(record("xdg-open")));
  EXPECT_EQ(readAll(record("xdg-open")), "xdg-open ok " + path + "\n")
      << "the viewer is started once, after the file is complete";
  QStringList descriptors = readAll(record("xdg-open") + ".fds").split('\n', Qt::SkipEmptyParts);
  EXPECT_FALSE(descriptors.contains(QString::number(inherited)))
      << descriptors.join(' ').toStdString();
  QByteArray png;
  ASSERT_TRUE(runProgram("xclip", {"-selection", "clipboard", "-t", "image/png", "-o"}, &png));
  QImage clipped;
  ASSERT_TRUE(clipped.loadFromData(png, "PNG"));
  EXPECT_EQ(clipped.size(), right.size());
}

TEST_F(CaptureWords, DisplayWordsChooseTheDisplay) {
  const int half = screen.width() / 2;
  const QRect left(0, 0, half, screen.height()), right(half, 0, half, screen.height());
  const std::pair<QStringList, QRect> cases[] = {
      {{}, left}, {{"-D", "2"}, right}, {{"-D2"}, right}, {{"-D1"}, left}};
  QString path = folder.filePath("display.png");
  for (const auto& [words, shown] : cases) {
    SCOPED_TRACE(words.join(' ').toStdString());
    QFile::remove(path);
    ToolResult result = runTool(words + QStringList{"-x", path});
    ASSERT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
    EXPECT_EQ(differingPixels(readImage(path), screen.copy(shown)), 0);
  }
}

TEST_F(CaptureWords, ThePngStaysOnTheClipboardAfterTheToolEnds) {
  QString path = folder.filePath("clip.png");
  ToolResult result = runTool({"-x", "-c", path});
  ASSERT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
  QByteArray png;
  ASSERT_TRUE(runProgram("xclip", {"-selection", "clipboard", "-t", "image/png", "-o"}, &png));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(png == file.readAll()) << "the clipboard holds the file's bytes";
}

TEST_F(CaptureWords, ShutterSoundPlaysUnlessSilenced) {
  addStandIn("canberra-gtk-play");
  addStandIn("xdg-open");
  QString path = folder.filePath("loud.png");
  ASSERT_EQ(runTool({"-t", "png", path}, withStandIns()).exitCode, 0);
  ASSERT_TRUE(waitForFileText(record("canberra-gtk-play")));
  EXPECT_EQ(readAll(record("canberra-gtk-play")), "canberra-gtk-play --id=camera-shutter\n");

  QFile::remove(record("canberra-gtk-play"));
  ASSERT_EQ(runTool({"-t", "png", "-x", "-P", path}, withStandIns()).exitCode, 0);
  // The viewer starts after the sound would have; once it has run, a sound would be recorded.
  ASSERT_TRUE(waitForFileText(record("xdg-open")));
  EXPECT_FALSE(QFile::exists(record("canberra-gtk-play")));
}

TEST_F(CaptureWords, BadWordsGiveOneLineAndStatusTwo) {
  QString path = folder.filePath("bad.png");
  const QStringList cases[] = {
      {},
      {"-t", "png"},
      {"-t", "gif", path},
      {"-t"},
      {"-q", "-t", "png", path},
      {"-D", "0", path},
      {"-Dx", path},
      {"-D"},
      {"-W", "-s", path},
      {"-s", "-D2", path},
      {path, "-x"},
      {"stray", path},
      {"-D3", path},
      {"-S"},
      {"-x", "--quiet"},
  };
  for (const QStringList& words : cases) {
    SCOPED_TRACE(words.join(' ').toStdString());
    ToolResult result = runTool(words);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.errorOutput.startsWith("vantorshot-capture: "))
        << result.errorOutput.toStdString();
    EXPECT_EQ(result.errorOutput.count('\n'), 1) << result.errorOutput.toStdString();
  }
  EXPECT_TRUE(filesIn(folder.path()).isEmpty());
}

TEST_F(CaptureWords, FoldersThatCannotTakeTheFileGiveOneLineAndStatusTwo) {
  QString existing = folder.filePath("taken");
  ASSERT_TRUE(QDir().mkpath(existing));
  const QString cases[][2] = {
      // /sys refuses new files even to root, so this holds in CI too.
      {"/sys/shot.png", "/sys"},
      {folder.filePath("missing/shot.png"), folder.filePath("missing")},
      {existing, existing},
  };
  for (const auto& [path, named] : cases) {
    SCOPED_TRACE(path.toStdString());
    for (QString mode : {"", "-s", "-W"}) {
      QStringList words{"-t", "png", "-x", path};
      if (!mode.isEmpty()) words.prepend(mode);
      // Refused before anything interactive starts, so no input is needed.
      ToolResult result = runTool(words);
      EXPECT_EQ(result.exitCode, 2);
      EXPECT_EQ(result.errorOutput.count('\n'), 1) << result.errorOutput.toStdString();
      EXPECT_TRUE(result.errorOutput.contains(named)) << result.errorOutput.toStdString();
    }
  }
  EXPECT_EQ(filesIn(folder.path()), QStringList());
}

}  // namespace
