#include <sys/wait.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>

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
  // The lines of a record, once there are `count` of them or after five seconds, the program's
  // events served meanwhile.
  static std::vector<std::string> Lines(const std::string& file, std::size_t count) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (ReadLines(file).size() < count && std::chrono::steady_clock::now() < giveUp) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return ReadLines(file);
  }
  // The recorded notifications.
  std::vector<std::string> Recorded(std::size_t count) { return Lines(record, count); }
  // The field of a recorded line: 1 ID, 4 BODY, 5 ACTIONS.
  static std::string Field(const std::string& line, int field) {
    std::size_t start = 0;
    for (int i = 0; i < field; ++i) start = line.find('\t', start) + 1;
    return line.substr(start, line.find('\t', start) - start);
  }
  // Asks the service for one of its test methods, as a user's click would reach it.
  static void CallService(const char* method, const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.Notifications",
                                                       "/org/freedesktop/Notifications",
                                                       "org.freedesktop.Notifications", method);
    call.setArguments(arguments);
    QDBusConnection::sessionBus().call(call);
  }

  const char* given = std::getenv("NOTIFICATION_RECORD");
  std::string record = given ? given : temporary.scratch.Path() + "record";
  DBusNotifier notifier;
};

TEST_F(BusNotifications, EachResultIsOneNotificationReplacingTheLast) {
  // Notify ID REPLACES SUMMARY BODY ACTIONS PICTURE, the picture no larger than 256 pixels.
  const std::pair<const char*, const char*> cases[] = {
      {"cp '" VANTORSHOT_BUILT_RESOURCES "fancy_app_iconx2.png' \"$out\"",
       "Notify\t1\t0\tCapture "
       "saved\tvs_cap_area_[^\t]*\\.png\tdefault,Show,annotate,Annotate,pin,Pin"
       "\t256x256"},
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

// Annotate and Pin start the editor on the saved file, detached; a click with no file manager on
// the bus opens the folder; an action the program never offered does nothing.
TEST_F(BusNotifications, ASavedCapturesActionsStartTheEditorOrOpenItsFolder) {
  const std::string calls = temporary.scratch.Path() + "editor-calls";
  const ScopedEnvironment editor{
      "VANTORSHOT_EDITOR",
      temporary.scratch.WriteFile(
          "bin/editor", "#!/bin/sh\necho \"$(printf '[%s]' \"$@\")\" >> '" + calls + "'\n", 0755)};
  UseTool("echo picture > \"$out\"");
  RunCapture(CaptureSelection);
  const std::vector<std::string> recorded = Recorded(1);
  ASSERT_EQ(recorded.size(), 1u);
  const uint id = std::stoul(Field(recorded[0], 1));
  const std::string file = Settings.LastSavePath;
  const std::string folder = file.substr(0, file.rfind('/') + 1);
  const struct {
    const char* action;
    const std::string& record;
    std::vector<std::string> lines;  // the record's after the action
  } cases[] = {
      {"open-everything", calls, {}},
      {"annotate", calls, {"[" + file + "]"}},
      {"pin", calls, {"[" + file + "]", "[--pin][" + file + "]"}},
      {"default", openerRecord, {"[" + folder + "]"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.action);
    CallService("Invoke", {id, QString(c.action)});
    // An action that starts nothing is seen done once the next one has started its program.
    if (c.lines.empty()) continue;
    EXPECT_EQ(Lines(c.record, c.lines.size()), c.lines);
  }
  int status = 0;
  EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1) << "no child left to reap";

  // A service that shows no actions is offered none; one that reads markup gets a name's "&" and
  // "<" as text.
  CallService("Capabilities", {QStringList{"body", "body-markup"}});
  UseTool("f=\"${out%.png}&<b>.png\"; echo picture > \"$f\"; echo \"$f\"");
  RunCapture(CaptureSelection);
  const std::vector<std::string> plain = Recorded(2);
  ASSERT_EQ(plain.size(), 2u);
  EXPECT_EQ(Field(plain[1], 5), "");
  EXPECT_TRUE(Field(plain[1], 4).ends_with("&amp;&lt;b&gt;.png")) << plain[1];
  CallService("Capabilities", {QStringList{"actions", "body", "icon-static"}});
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
