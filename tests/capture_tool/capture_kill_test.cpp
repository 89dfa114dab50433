// Killed or asked to quit at any moment, the tool leaves either nothing or the whole file.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <random>

#include "image_checks.h"
#include "test_display.h"
#include "test_pattern.h"
#include "tool_process.h"

namespace {

TEST(CaptureKill, KillsAndQuitRequestsLeaveNothingOrTheWholeFile) {
  TestDisplay display;
  ASSERT_TRUE(display.connected()) << "this test runs under with-xvfb";
  QImage screen = blockPattern(display.rootSize().width(), display.rootSize().height(), 83);
  display.showOnRoot(screen);
  QTemporaryDir folder;
  QString path = folder.filePath("shot.png");
  auto entries = [&] {
    return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  };

  QElapsedTimer clock;
  clock.start();
  ASSERT_EQ(runTool({"-x", path}).exitCode, 0);
  const int runMs = static_cast<int>(clock.elapsed());
  ASSERT_TRUE(QFile::remove(path));

  std::mt19937 random(5);
  // Most moments fall late in a run, where the file is written.
  std::uniform_int_distribution<int> moment(runMs / 2, runMs * 11 / 10);
  int interrupted = 0;
  for (int run = 0; run < 60; ++run) {
    bool kill = run % 2 == 0;
    SCOPED_TRACE((kill ? "SIGKILL in run " : "SIGTERM in run ") + std::to_string(run));
    ToolRun tool({"-x", path});
    ASSERT_TRUE(tool.process().waitForStarted());
    QThread::msleep(moment(random));
    kill ? tool.process().kill() : tool.process().terminate();
    ToolResult result = tool.wait();
    interrupted += !result.finished || result.exitCode != 0;
    QStringList left = entries();
    if (left.isEmpty()) continue;
    ASSERT_EQ(left.join(" ").toStdString(), "shot.png");
    EXPECT_EQ(differingPixels(readImage(path), screen), 0);
    ASSERT_TRUE(QFile::remove(path));
  }
  EXPECT_GT(interrupted, 10) << "the signals should stop a good part of the runs";
}

}  // namespace
