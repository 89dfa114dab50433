#include <gtest/gtest.h>

#include <QCoreApplication>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "capture/capture_engine.h"
#include "platform/qt/dbus_notifier.h"
#include "program/program_fixture.h"
#include "support/scratch_folder.h"

namespace {

// Captures whose notifications go over the session bus that the test command started, to the
// recording service (when there is one), which writes a line per notification.
class BusNotifications : public ProgramTest {
 protected:
  BusNotifications() {
    WriteWholeFile(record, "");
    InstallNotifier(&notifier);
    Start();
  }
  void UseTool(const std::string& body) {
    tool.Set(temporary.scratch.WriteFile("bin/capture-tool",
                                         "#!/bin/bash\nout=${@: -1}\n" + body + "\n", 0755));
  }
  // The recorded notifications, each split at its tabs, once there are `count` of them.
  std::vector<std::vector<std::string>> Recorded(std::size_t count) {
    std::vector<std::vector<std::string>> fields;
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < give_up) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
      fields.clear();
      for (const std::string& line : ReadLines(record)) {
        std::vector<std::string> parts;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos;
             start = tab + 1) {
          parts.push_back(line.substr(start, tab - start));
        }
        parts.push_back(line.substr(start));
        fields.push_back(parts);
      }
      if (fields.size() >= count) break;
    }
    return fields;
  }

  std::string record = std::getenv("NOTIFICATION_RECORD") ? std::getenv("NOTIFICATION_RECORD")
                                                          : temporary.scratch.Path() + "record";
  DBusNotifier notifier;
  ScopedEnvironment tool{"VANTORSHOT_CAPTURE_TOOL"};
};

TEST_F(BusNotifications, EachResultIsOneNotificationReplacingTheLast) {
  const std::string picture = VANTORSHOT_BUILT_RESOURCES "fancy_app_iconx2.png";
  const char* tools[] = {"cp '" VANTORSHOT_BUILT_RESOURCES "fancy_app_iconx2.png' \"$out\"",
                         "exit 1", "echo 'vantorshot-capture: no such display' >&2; exit 2",
                         "kill -9 $$"};
  // As in the program, the loop takes the desktop's answers between one capture and the next.
  std::size_t expected = 0;
  for (const char* body : tools) {
    UseTool(body);
    RunCapture(CaptureSelection);
    Recorded(expected += std::string(body) == "exit 1" ? 0 : 1);
  }
  tool.Set(temporary.scratch.Path() + "bin/no-such-tool");
  RunCapture(CaptureSelection);

  const auto recorded = Recorded(4);
  ASSERT_EQ(recorded.size(), 4u) << "none for the cancelled capture";
  const std::vector<std::string> summaries = {"Capture saved", "Capture failed", "Capture failed",
                                              "Capture failed"};
  for (std::size_t i = 0; i < recorded.size(); ++i) {
    ASSERT_EQ(recorded[i].size(), 6u);
    EXPECT_EQ(recorded[i][2], summaries[i]);
    EXPECT_EQ(recorded[i][1], i == 0 ? "0" : recorded[i - 1][0]) << "replaces the one before";
  }
  EXPECT_EQ(recorded[0][4], "default,Show");
  EXPECT_EQ(recorded[0][5], "256x256") << "a copy no larger than 256 pixels";
  EXPECT_EQ(recorded[1][3], "vantorshot-capture: no such display");
  EXPECT_EQ(recorded[3][5], "-");
}

TEST_F(BusNotifications, WithoutAServiceOrABusCapturesGoOnSilently) {
  UseTool("exit 2");
  const auto started = std::chrono::steady_clock::now();
  for (int i = 0; i < 5; ++i) {
    RunCapture(CaptureSelection);
    QCoreApplication::processEvents();
  }
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2))
      << "no capture waits for the desktop";
  EXPECT_TRUE(Recorded(0).empty());
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
