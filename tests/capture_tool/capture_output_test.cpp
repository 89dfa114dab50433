// Where the file goes: never over anything that exists, the path written printed on stdout.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

#include "image_checks.h"
#include "test_display.h"
#include "test_pattern.h"
#include "tool_process.h"

namespace {

class CaptureOutput : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(display.connected()) << "these tests run under with-xvfb";
    QSize size = display.rootSize();
    screen = blockPattern(size.width(), size.height(), 71);
    display.showOnRoot(screen);
  }

  QStringList entries() const {
    return QDir(folder.path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  }

  static void writeText(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }

  static QByteArray readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  TestDisplay display;
  QImage screen;
  QTemporaryDir folder;
};

TEST_F(CaptureOutput, ATakenNameGetsTheNextNumberAndThePrintedPathSaysWhich) {
  QString path = folder.filePath("shot.png");
  writeText(path, "an older capture");
  mode_t previousMask = ::umask(027);
  for (QString expected : {"shot-2.png", "shot-3.png"}) {
    ToolResult result = runTool({"-x", path});
    ASSERT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
    EXPECT_EQ(result.output, folder.filePath(expected) + "\n");
    EXPECT_EQ(differingPixels(readImage(folder.filePath(expected)), screen), 0);
    struct stat info {};
    ASSERT_EQ(::stat(folder.filePath(expected).toLocal8Bit().constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "a new file's permissions follow the umask";
  }
  ::umask(previousMask);
  EXPECT_EQ(readText(path), "an older capture");
  EXPECT_EQ(entries(), (QStringList{"shot-2.png", "shot-3.png", "shot.png"}));
}

TEST_F(CaptureOutput, WhatIsNotAWritablePlainFileIsRefusedAndKept) {
  QString kept = folder.filePath("kept.png");
  writeText(kept, "someone's file");
  struct Case {
    const char* what;
    std::function<void(const QByteArray&)> make;
  };
  const Case cases[] = {
      {"a FIFO", [](const QByteArray& p) { ASSERT_EQ(::mkfifo(p, 0644), 0); }},
      {"a symbolic link",
       [&](const QByteArray& p) { ASSERT_EQ(::symlink(kept.toLocal8Bit(), p), 0); }},
      {"a folder", [](const QByteArray& p) { ASSERT_EQ(::mkdir(p, 0755), 0); }},
      {"a read-only file",
       [](const QByteArray& p) {
         writeText(QString::fromLocal8Bit(p), "read-only");
         ASSERT_EQ(::chmod(p, 0444), 0);
       }},
      // The null device's numbers, made here: a real /dev/null must never be at stake.
      {"a device node",
       [](const QByteArray& p) { ASSERT_EQ(::mknod(p, S_IFCHR | 0666, makedev(1, 3)), 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QString path = folder.filePath(QString(c.what).replace(' ', '-'));
    c.make(path.toLocal8Bit());
    QStringList before = entries();
    ToolResult result = runTool({"-x", path});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.output.isEmpty());
    EXPECT_EQ(result.errorOutput.count('\n'), 1) << result.errorOutput.toStdString();
    EXPECT_TRUE(result.errorOutput.contains(path)) << result.errorOutput.toStdString();
    EXPECT_EQ(entries(), before);
  }
  EXPECT_EQ(readText(kept), "someone's file");
}

TEST_F(CaptureOutput, ToolsWritingOneNameAtOnceMakeOneFileEach) {
  QString path = folder.filePath("same.png");
  std::vector<std::unique_ptr<ToolRun>> tools;
  for (int i = 0; i < 4; ++i) tools.push_back(std::make_unique<ToolRun>(QStringList{"-x", path}));
  QStringList printed;
  for (auto& tool : tools) {
    ToolResult result = tool->wait();
    ASSERT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
    printed << result.output.trimmed();
  }
  printed.sort();
  EXPECT_EQ(printed, (QStringList{folder.filePath("same-2.png"), folder.filePath("same-3.png"),
                                  folder.filePath("same-4.png"), folder.filePath("same.png")}));
  for (const QString& file : printed) EXPECT_EQ(differingPixels(readImage(file), screen), 0);
}

TEST_F(CaptureOutput, TheLongestNameAFolderTakesWorks) {
  QString path = folder.filePath(QString(251, 'n') + ".png");
  ToolResult result = runTool({"-x", path});
  ASSERT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
  EXPECT_EQ(differingPixels(readImage(path), screen), 0);
}

}  // namespace
