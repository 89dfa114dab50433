#include "capture/capture_engine.h"

#include <optional>

#include "capture/capture_command.h"
#include "capture/capture_folder.h"
#include "capture/capture_names.h"
#include "capture/capture_tool.h"
#include "capture/countdown_window.h"
#include "capture/date_stamp.h"
#include "capture/display_picker.h"
#include "platform/process.h"
#include "platform/toolkit.h"
#include "settings/settings_record.h"

std::string DisplayOption;

namespace {

// Runs the tool and blocks until it has ended, reading and dropping whatever it prints. No
// events are served meanwhile: the tool runs the user's interaction in its own process.
void RunCaptureTool(std::int8_t kind, const std::string& baseName) {
  const std::string outputPath = FreeOutputPath(Settings.DirPath, baseName, Settings.FileExtension);
  Settings.LastSavePath = "\"" + outputPath + "\"";
  const ProcessHandle tool =
      StartProcessWords(CaptureToolProgram(), CaptureToolWords(kind, outputPath), "",
                        ProcessKeep | ProcessReadOutput);
  // The tool's words on its output are of no use here; its end is what is waited for.
  if (tool) WaitForProcessEnd(tool);
}

}  // namespace

void RunCapture(std::int8_t kind) {
  const int screens = DisplayCount();
  ResolveCaptureFolder();
  // The stamp records the moment of the request, before any display choice or countdown.
  const std::string baseName = CaptureNamePrefix(kind) + MakeDateStamp();
  if (kind == CaptureEntireScreen) {
    if (screens >= 2) {
      const std::optional<int> display = PickDisplay();
      DisplayOption = display ? " -D" + std::to_string(*display + 1) : std::string();
      if (!display) return;
    }
    if (Settings.TimerSeconds >= 2 && !RunCountdown(Settings.TimerSeconds)) return;
  }
  RunCaptureTool(kind, baseName);
}
