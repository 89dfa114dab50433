// Where the file goes: a new name beside anything that exists, never over it, and only whole.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <deque>
#include <functional>
#include <random>

#include "harness.h"

namespace {

QByteArray readBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

using CaptureOutput = ScreenTest;
using CaptureKill = ScreenTest;

TEST_F(CaptureOutput, ATakenNameGetsTheNextNumberAndTheUmasksPermissions) {
  const QString path = file("shot.png");
  ASSERT_TRUE(writeBytes(path, "an older capture"));
  const mode_t previousMask = ::umask(027);
  for (QString name : {"shot-2.png", "shot-3.png"}) {
    ToolResult result = runTool({"-x", path});
    ASSERT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
    EXPECT_EQ(result.output, file(name) + "\n");
    EXPECT_EQ(differingPixels(readImage(file(name)), mainDisplay()), 0);
    struct stat info {};
    EXPECT_EQ(::stat(file(name).toLocal8Bit(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
  }
  ::umask(previousMask);
  EXPECT_EQ(readBytes(path), "an older capture");
  // 255 bytes, the longest name a folder takes.
  const QString longest = QString(251, 'n') + ".png";
  EXPECT_EQ(runTool({"-x", file(longest)}).output, file(longest) + "\n");
  EXPECT_EQ(entries(), (QStringList{longest, "shot-2.png", "shot-3.png", "shot.png"}));
}

// Refused before any overlay comes up, whatever the mode, so no input is needed.
TEST_F(CaptureOutput, WhatCannotTakeTheFileIsRefusedAndKept) {
  const QString kept = file("kept.png");
  ASSERT_TRUE(writeBytes(kept, "someone's file"));
  const std::tuple<const char*, QString, std::function<int(const char*)>> rows[] = {
      {"-s", file("fifo"), [](const char* p) { return ::mkfifo(p, 0644); }},
      {"-W", file("link"), [&](const char* p) { return ::symlink(kept.toLocal8Bit(), p); }},
      {"", file("folder"), [](const char* p) { return ::mkdir(p, 0755); }},
      {"-s", file("read-only"), [](const char* p) { return ::close(::creat(p, 0444)); }},
      // The null device's numbers, made here: a real /dev/null must never be at stake.
      {"-W", file("device"),
       [](const char* p) { return ::mknod(p, S_IFCHR | 0666, makedev(1, 3)); }},
      {"", "/sys/shot.png", nullptr},  // /sys refuses new files even to root
      {"-s", file("missing/shot.png"), nullptr},
  };
  for (const auto& [mode, path, make] : rows) {
    SCOPED_TRACE(path.toStdString());
    ASSERT_TRUE(!make || make(path.toLocal8Bit().constData()) == 0);
    const QStringList before = entries();
    QStringList words{"-x", path};
    if (*mode) words.prepend(mode);
    expectRefused(runTool(words), make ? path : QFileInfo(path).path());
    EXPECT_EQ(entries(), before);
  }
  EXPECT_EQ(readBytes(kept), "someone's file");
}

TEST_F(CaptureOutput, ToolsWritingOneNameAtOnceMakeOneFileEach) {
  std::deque<ToolRun> tools;
  for (int i = 0; i < 4; ++i) tools.emplace_back(QStringList{"-x", file("same.png")});
  QStringList printed;
  for (ToolRun& tool : tools) printed << tool.wait().output.trimmed();
  printed.sort();
  EXPECT_EQ(printed, (QStringList{file("same-2.png"), file("same-3.png"), file("same-4.png"),
                                  file("same.png")}));
  for (const QString& path : printed) EXPECT_EQ(differingPixels(readImage(path), mainDisplay()), 0);
}

// Stand-ins for the viewer and the shutter sound record their words, whether the file was
// complete when they started, and the descriptors they were given.
TEST_F(CaptureOutput, HelpersGetNoInheritedDescriptorAndTheSoundOnlyWithoutX) {
  QTemporaryDir fakes;
  for (QString name : {"xdg-open", "canberra-gtk-play"}) {
    ASSERT_TRUE(writeBytes(fakes.filePath(name),
                           "#!/bin/sh\nls /proc/self/fd > \"$0.fds\"\nfor last; do :; done\n"
                           "echo \"$*\" $([ -s \"$last\" ] && echo complete) >> \"$0.log\"\n"));
    ASSERT_TRUE(QFile::setPermissions(fakes.filePath(name), QFile::ReadOwner | QFile::ExeOwner));
  }
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("PATH", fakes.path() + ":" + environment.value("PATH"));
  auto record = [&](const QString& name) {
    eventually([&] { return !readBytes(fakes.filePath(name + ".log")).isEmpty(); });
    return readBytes(fakes.filePath(name + ".log"));
  };
  // A descriptor the tool inherits without close-on-exec must not reach them.
  const int opened = ::open("/dev/null", O_RDONLY), inherited = ::fcntl(opened, F_DUPFD, 300);
  ::close(opened);
  ToolResult result = runTool({"-P", file("loud.png")}, environment);
  ::close(inherited);
  ASSERT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
  EXPECT_EQ(record("xdg-open"), file("loud.png").toUtf8() + " complete\n");
  EXPECT_EQ(record("canberra-gtk-play"), "--id=camera-shutter\n");
  for (QString name : {"xdg-open", "canberra-gtk-play"}) {
    QList<QByteArray> given = readBytes(fakes.filePath(name + ".fds")).split('\n');
    EXPECT_FALSE(given.contains(QByteArray::number(inherited))) << given.join(' ').toStdString();
    ASSERT_TRUE(QFile::remove(fakes.filePath(name + ".log")));
  }
  ASSERT_EQ(runTool({"-x", "-P", file("quiet.png")}, environment).exitCode, 0);
  // The sound would start before the viewer: once the viewer has run, it would be recorded.
  EXPECT_EQ(record("xdg-open"), file("quiet.png").toUtf8() + " complete\n");
  EXPECT_FALSE(QFile::exists(fakes.filePath("canberra-gtk-play.log")));
}

TEST_F(CaptureKill, KillsAndQuitRequestsLeaveNothingOrTheWholeFile) {
  const QString path = file("shot.png");
  QElapsedTimer clock;
  clock.start();
  ASSERT_EQ(runTool({"-x", path}).exitCode, 0);
  int runMs = static_cast<int>(clock.elapsed());
  ASSERT_TRUE(QFile::remove(path));
  std::mt19937 random(5);
  int interrupted = 0;
  for (int run = 0; run < 60; ++run) {
    SCOPED_TRACE(testing::Message() << "run " << run << (run % 2 ? ": SIGTERM" : ": SIGKILL"));
    ToolRun tool({"-x", path});
    ASSERT_TRUE(tool.process.waitForStarted());
    // Most moments fall late in a run, where the file is written.
    QThread::msleep(std::uniform_int_distribution<int>(runMs / 2, runMs * 11 / 10)(random));
    run % 2 ? tool.process.terminate() : tool.process.kill();
    // A run that ended first says runs are quicker now than the first one (a machine less busy).
    if (tool.wait().exitCode != 0) {
      ++interrupted;
    } else {
      runMs = std::max(2, runMs * 3 / 4);
    }
    if (entries().isEmpty()) continue;
    ASSERT_EQ(entries(), QStringList{"shot.png"});
    EXPECT_EQ(differingPixels(readImage(path), screen), 0);
    ASSERT_TRUE(QFile::remove(path));
  }
  EXPECT_GT(interrupted, 10) << "the signals should stop a good part of the runs";
}

}  // namespace
