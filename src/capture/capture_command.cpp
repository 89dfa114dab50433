#include "capture/capture_command.h"

#include "capture/capture_engine.h"
#include "platform/process_words.h"
#include "settings/settings_record.h"

std::string CaptureOptionText(std::int8_t kind) {
  const SettingsRecord& s = Settings;
  if (kind == CaptureWindow) {
    return " -W " + s.FormatOption + " " + s.ShadowOption + s.SoundOption + s.PreviewOption +
           s.ClipboardOption;
  }
  if (kind == CaptureEntireScreen) {
    return " " + s.FormatOption + " " + DisplayOption + s.SoundOption + s.PointerOption +
           s.PreviewOption + s.ClipboardOption;
  }
  // The selection names the clipboard before the preview, unlike the window capture.
  return " -s " + s.FormatOption + " " + s.SoundOption + s.ClipboardOption + s.PreviewOption;
}

std::vector<std::string> CaptureToolWords(std::int8_t kind, const std::string& outputPath) {
  std::vector<std::string> words = SplitParameters(CaptureOptionText(kind));
  words.push_back(outputPath);
  return words;
}
