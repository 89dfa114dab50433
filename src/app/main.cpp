#include <cstdio>
#include <thread>

#include "app/capture_report.h"
#include "app/command_line.h"
#include "app/one_capture.h"
#include "app/open_in_editor.h"
#include "app/startup.h"
#include "platform/build_info.h"
#include "platform/command_channel.h"
#include "platform/process.h"
#include "platform/program_location.h"
#include "platform/qt/desktop_platform.h"

namespace {

// Hands the command to the session's running copy and tells its outcome; the exit status when
// that settles it.
std::optional<int> SendToRunningCopy(const CommandLine& line) {
  const SendResult sent = SendCommand(line.command, line.wait);
  switch (sent.delivery) {
    case Delivery::Delivered:
      if (line.wait && line.command.starts_with("capture ")) {
        return TellCaptureEnd(CaptureEndFromAnswer(sent.outcome));
      }
      return StatusDone;
    case Delivery::Busy: return TellCaptureBusy();
    case Delivery::NoProgram: return std::nullopt;
    case Delivery::Refused: break;
  }
  std::fprintf(stderr, "vantorshot: %s\n", sent.why.c_str());
  return StatusFailed;
}

// A capture not waited for, with no copy running: this program again, on its own.
int StartOneCaptureDetached(const std::string& command) {
  const std::vector<std::string> words = {"--capture", command.substr(command.find(' ') + 1)};
  if (StartProcessWords(ExecutablePath(), words, "", ProcessQuiet)) return StatusDone;
  std::fputs("vantorshot: cannot start the capture\n", stderr);
  return StatusFailed;
}

}  // namespace

// The program on the Linux desktop.
int main(int argc, char** argv) {
  const CommandLine line = ReadCommandLine(argc, argv);
  switch (line.action) {
    case CommandLine::Action::Help: std::fputs(CommandLineHelp().c_str(), stdout); return 0;
    case CommandLine::Action::Version:
      std::printf("vantorshot %.*s\n", static_cast<int>(ProgramVersion.size()),
                  ProgramVersion.data());
      return 0;
    case CommandLine::Action::Mistake:
      std::fprintf(stderr, "vantorshot: %s (see vantorshot --help)\n", line.mistake.c_str());
      return StatusFailed;
    case CommandLine::Action::Editor: return OpenInEditor(line.command, line.file);
    case CommandLine::Action::Start:
    case CommandLine::Action::Command: break;
  }
  const bool command = line.action == CommandLine::Action::Command;
  if (command) {
    if (const std::optional<int> status = SendToRunningCopy(line)) return *status;
    if (line.command == "quit") return 0;  // nothing runs that could quit
  }
  const bool oneCapture = line.command.starts_with("capture ");
  if (oneCapture && !line.wait) return StartOneCaptureDetached(line.command);
  DesktopPlatform platform(
      argc, argv, oneCapture ? DesktopPlatform::Role::OneCommand : DesktopPlatform::Role::Resident);
  if (oneCapture) return RunOneCapture(line.command);
  switch (platform.HowToStart()) {
    case DesktopPlatform::Start::Run:
      return RunApplication(command ? CommandItem(line.command) : std::nullopt);
    case DesktopPlatform::Start::AlreadyRunning:
      // A copy starting at this moment takes commands once it is up.
      for (int tries = 0; command && tries < 20; ++tries) {
        if (const std::optional<int> status = SendToRunningCopy(line)) return *status;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
      }
      return 0;
    case DesktopPlatform::Start::Refused: return 1;
  }
  return 1;
}
