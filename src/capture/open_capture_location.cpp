#include "capture/open_capture_location.h"

#include "capture/capture_folder.h"
#include "platform/process.h"
#include "platform/process_opener.h"
#include "settings/settings_record.h"

void OpenCaptureLocation() {
  // Before the first capture the folder may be unknown or gone: settle it as a capture would.
  ResolveCaptureFolder();
  StartProcessWords(OpenerProgram(), {Settings.DirPath}, "", 0);
}
