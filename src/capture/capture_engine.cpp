#include "capture/capture_engine.h"

#include <optional>

#include "capture/capture_command.h"
#include "capture/capture_folder.h"
#include "capture/capture_names.h"
#include "capture/capture_outcome.h"
#include "capture/capture_tool.h"
#include "capture/countdown_window.h"
#include "capture/date_stamp.h"
#include "capture/display_picker.h"
#include "platform/command_server.h"
#include "platform/process_run.h"
#include "platform/termination_request.h"
#include "platform/toolkit.h"
#include "settings/settings_record.h"

std::string DisplayOption;

namespace {

// Runs the tool and blocks until it has ended, keeping what it prints. No toolkit events are
// served meanwhile (the tool runs the user's interaction in its own process), only the command
// channel, which never blocks. A request to quit stops the tool and is left for the main loop.
CaptureEnd RunCaptureTool(std::int8_t kind, const std::string& folder,
                          const std::string& baseName) {
  const std::string outputPath = FreeOutputPath(folder, baseName, Settings.FileExtension);
  const ProgramOutcome tool =
      RunProgram(CaptureToolProgram(), CaptureToolWords(kind, outputPath),
                 TerminationRequestDescriptor(), {CommandServerDescriptor(), ServeCommands});
  return ReportCaptureOutcome(tool, outputPath);
}

// A display chosen earlier that is no longer there (unplugged) is forgotten: the tool would
// refuse it, and every capture would fail.
void ForgetVanishedDisplay(int screens) {
  if (DisplayOption.size() <= 3) return;
  if (std::stoi(DisplayOption.substr(3)) > screens) DisplayOption.clear();
}

CaptureEnd TakeCapture(std::int8_t kind) {
  const int screens = DisplayCount();
  const std::string folder = ResolveCaptureFolder();
  // The stamp records the moment of the request, before any display choice or countdown.
  const std::string baseName = CaptureNamePrefix(kind) + MakeDateStamp();
  if (kind == CaptureEntireScreen) {
    if (screens >= 2) {
      const std::optional<int> display = PickDisplay();
      DisplayOption = display ? " -D" + std::to_string(*display + 1) : std::string();
      if (!display) return {CaptureResult::Cancelled, {}, {}};
    } else {
      ForgetVanishedDisplay(screens);
    }
    if (Settings.TimerSeconds >= 2 && !RunCountdown(Settings.TimerSeconds)) {
      return {CaptureResult::Cancelled, {}, {}};
    }
  }
  return RunCaptureTool(kind, folder, baseName);
}

}  // namespace

CaptureEnd RunCapture(std::int8_t kind) {
  MarkCaptureUnderway(true);
  CaptureEnd end = TakeCapture(kind);
  MarkCaptureUnderway(false);
  return end;
}
