#include "capture/capture_outcome.h"

#include "capture/capture_folder.h"
#include "capture/capture_tool.h"
#include "platform/files.h"
#include "platform/notifications.h"
#include "settings/settings_record.h"

namespace {

bool IsFile(const std::string& path) {
  return PathSize(path) >= 0;
}

// The file the tool wrote: the last path it printed that names a file (it prints the one it
// chose when the name asked for was taken), else the one it was asked for.
std::string WrittenFile(const ProgramOutcome& tool, const std::string& requested) {
  for (auto line = tool.output.rbegin(); line != tool.output.rend(); ++line) {
    if (line->starts_with('/') && IsFile(*line)) return *line;
  }
  return IsFile(requested) ? requested : std::string();
}

std::string FolderOf(const std::string& path) {
  return path.substr(0, path.find_last_of('/') + 1);
}

std::string FileName(const std::string& path) {
  return path.substr(path.find_last_of('/') + 1);
}

CaptureEnd NotifyFailure(const std::string& what) {
  ShowNotification({"Capture failed", what, "", "", ""});
  return {CaptureResult::Failed, {}, what};
}

}  // namespace

CaptureEnd ReportCaptureOutcome(const ProgramOutcome& tool, const std::string& requested) {
  // A capture stopped because the program is quitting has nothing to tell.
  if (tool.stopped) return {CaptureResult::Cancelled, {}, {}};
  if (!tool.started) {
    return NotifyFailure("The capture tool could not be started: " + CaptureToolProgram());
  }
  if (tool.signal != 0) {
    return NotifyFailure("The capture tool was killed by signal " + std::to_string(tool.signal) +
                         ".");
  }
  constexpr int Written = 0;
  constexpr int Cancelled = 1;
  if (tool.exitCode == Cancelled) return {CaptureResult::Cancelled, {}, {}};
  if (tool.exitCode != Written) {
    return NotifyFailure(!tool.lastErrorLine.empty() ? tool.lastErrorLine
                                                     : "The capture tool ended with status " +
                                                           std::to_string(tool.exitCode) + ".");
  }
  const std::string file = WrittenFile(tool, requested);
  if (!file.empty()) Settings.LastSavePath = file;
  if (Settings.ClipboardOn == 1) {
    ShowNotification({"Capture copied to the clipboard", "", "", "", ""});
    return {CaptureResult::Copied, {}, {}};
  }
  if (file.empty()) return NotifyFailure("The capture tool wrote no file.");
  std::string body = FileName(file);
  // Said whenever it happens: the user looks for the picture where it usually goes.
  const std::string missing = MissingCaptureFolderName(FolderOf(requested));
  if (!missing.empty()) {
    body += "\nThe folder " + missing + " is missing; saved in " + FolderName(FolderOf(file));
  }
  ShowNotification({"Capture saved", body, file, file, file});
  return {CaptureResult::Saved, file, {}};
}
