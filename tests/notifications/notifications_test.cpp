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
  // The recorded notifications (or the lines of another record), once there are `count` of
  // them or after five seconds.
  std::vector<std::string> Recorded(std::size_t count, std::string file = {}) {
    if (file.empty()) file = record;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (ReadLines(file).size() < count && std::chrono::steady_clock::now() < giveUp) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return ReadLines(file);
  }
  // Calls one of the service's methods for tests (an action's click, say).
  static void CallService(const char* method, const QVariantList& arguments) {
    const char* name = "org.freedesktop.Notifications";
    QDBusMessage call =
        QDBusMessage::createMethodCall(name, "/org/freedesktop/Notifications", name, method);
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
       "Notify\t1\t0\tCapture saved\tvs_cap_area_[^\t]*\\.png\t"
       "default,Show,annotate,Annotate,pin,Pin\t256x256"},
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

// Annotate and Pin start the editor on the file, detached; with no file manager on the bus a
// click opens the folder. A service without actions is offered none, and one that reads markup
// gets a file name's "&" as text.
TEST_F(BusNotifications, ASavedCapturesActionsStartTheEditorOrOpenItsFolder) {
  const std::string calls = temporary.scratch.Path() + "editor-calls";
  const ScopedEnvironment editor{
      "VANTORSHOT_EDITOR",
      temporary.scratch.WriteFile(
          "bin/editor", "#!/bin/sh\necho \"$(printf '[%s]' \"$@\")\" >> '" + calls + "'\n", 0755)};
  UseTool("echo picture > \"$out\"");
  RunCapture(CaptureSelection);
  ASSERT_EQ(Recorded(1).size(), 1u);
  const uint id = std::stoul(Recorded(1)[0].substr(Recorded(1)[0].find('\t') + 1));
  const std::string file = Settings.LastSavePath;
  // One at a time: the editor's starts are not waited for, so two may end in any order.
  for (const auto& [action, count] : {std::pair{"annotate", 1u}, {"pin", 2u}, {"default", 2u}}) {
    CallService("Invoke", {id, QString(action)});
    Recorded(count, calls);
  }
  EXPECT_EQ(ReadLines(calls),
            (std::vector<std::string>{"[" + file + "]", "[--pin][" + file + "]"}));
  EXPECT_EQ(Recorded(1, openerRecord),
            std::vector<std::string>{"[" + file.substr(0, file.rfind('/') + 1) + "]"});
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "no child left to reap";

  CallService("Capabilities", {QStringList{"body", "body-markup"}});
  UseTool("f=\"${out%.png}&.png\"; echo picture > \"$f\"; echo \"$f\"");
  RunCapture(CaptureSelection);
  ASSERT_EQ(Recorded(2).size(), 2u);
  EXPECT_TRUE(std::regex_search(Recorded(2)[1], std::regex("&amp;\\.png\t\t-$"))) << Recorded(2)[1];
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
