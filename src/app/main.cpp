#include <cstdio>
#include <thread>

#include "app/command_line.h"
#include "app/one_capture.h"
#include "app/startup.h"
#include "platform/build_info.h"
#include "platform/command_channel.h"
#include "platform/qt/desktop_platform.h"

namespace {

// Hands the command to the session's running copy; the exit status when that settles it.
std::optional<int> SendToRunningCopy(const std::string& command) {
  const SendResult sent = SendCommand(command);
  if (sent.delivery == Delivery::Delivered) return 0;
  if (sent.delivery == Delivery::NoProgram) return std::nullopt;
  std::fprintf(stderr, "vantorshot: %s\n", sent.why.c_str());
  return 2;
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
      return 2;
    case CommandLine::Action::Start:
    case CommandLine::Action::Command: break;
  }
  const bool command = line.action == CommandLine::Action::Command;
  if (command) {
    if (const std::optional<int> status = SendToRunningCopy(line.command)) return *status;
    if (line.command == "quit") return 0;  // nothing runs that could quit
  }
  const bool oneCapture = line.command.starts_with("capture ");
  DesktopPlatform platform(
      argc, argv, oneCapture ? DesktopPlatform::Role::OneCommand : DesktopPlatform::Role::Resident);
  if (oneCapture) return RunOneCapture(line.command);
  switch (platform.HowToStart()) {
    case DesktopPlatform::Start::Run:
      return RunApplication(command ? CommandItem(line.command) : std::nullopt);
    case DesktopPlatform::Start::AlreadyRunning:
      // A copy starting at this moment takes commands once it is up.
      for (int tries = 0; command && tries < 20; ++tries) {
        if (const std::optional<int> status = SendToRunningCopy(line.command)) return *status;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
      }
      return 0;
    case DesktopPlatform::Start::Refused: return 1;
  }
  return 1;
}
