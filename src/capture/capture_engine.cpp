#include "capture/capture_engine.h"

#include "capture/capture_command.h"
#include "capture/capture_folder.h"
#include "capture/capture_names.h"
#include "capture/capture_tool.h"
#include "capture/date_stamp.h"
#include "capture/display_choice.h"
#include "platform/process.h"
#include "platform/toolkit.h"
#include "settings/settings_record.h"

std::int64_t ScreenCount = 0;
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
  ScreenCount = DisplayCount();
  ResolveCaptureFolder();
  // The stamp records the moment of the request, before any display choice or countdown.
  const std::string baseName = CaptureNamePrefix(kind) + MakeDateStamp();
  if (kind == CaptureEntireScreen) {
    if (ScreenCount >= 2) ShowDisplayPicker();
    if (DisplayOption.empty() && ScreenCount > 1) return;
    if (Settings.TimerSeconds >= 2 && !RunCountdown(Settings.TimerSeconds)) return;
  }
  RunCaptureTool(kind, baseName);
}
