#include <QCoreApplication>

#include <chrono>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "platform/qt/dbus_notifier.h"
#include "program/program_fixture.h"

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
  // The recorded notifications, once there are `count` of them or after five seconds.
  std::vector<std::string> Recorded(std::size_t count) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (ReadLines(record).size() < count && std::chrono::steady_clock::now() < giveUp) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return ReadLines(record);
  }

  const char* given = std::getenv("NOTIFICATION_RECORD");
  std::string record = given ? given : temporary.scratch.Path() + "record";
  DBusNotifier notifier;
};

TEST_F(BusNotifications, EachResultIsOneNotificationReplacingTheLast) {
  // Notify ID REPLACES SUMMARY BODY ACTIONS PICTURE, the picture no larger than 256 pixels.
  const std::pair<const char*, const char*> cases[] = {
      {"cp '" VANTORSHOT_BUILT_RESOURCES "fancy_app_iconx2.png' \"$out\"",
       "Notify\t1\t0\tCapture saved\tvs_cap_area_[^\t]*\\.png\tdefault,Show\t256x256"},
      {"exit 1", nullptr},
      {"echo 'vantorshot-capture: no such display' >&2; exit 2",
       "Notify\t2\t1\tCapture failed\tvantorshot-capture: no such display\t\t-"},
      {nullptr, "Notify\t3\t2\tCapture failed\tThe capture tool could not be started: [^\t]*\t\t-"},
  };
  // As in the program, the loop takes the desktop's answers between one capture and the next.
  std::size_t expected = 0;
  for (const auto& [script, line] : cases) {
    script ? UseTool(script) : tool.Set(temporary.scratch.Path() + "bin/no-such-tool");
    RunCapture(CaptureSelection);
    const std::vector<std::string> recorded = Recorded(expected += line ? 1 : 0);
    ASSERT_EQ(recorded.size(), expected) << "none for the cancelled capture";
    if (line) {
      EXPECT_TRUE(std::regex_match(recorded.back(), std::regex(line))) << recorded.back();
    }
  }
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
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
