#include "capture/open_capture_location.h"

#include "capture/capture_folder.h"
#include "platform/process.h"
#include "platform/process_opener.h"

void OpenCaptureLocation() {
  // The folder the next capture would go to, also when the chosen one is missing.
  StartProcessWords(OpenerProgram(), {ResolveCaptureFolder()}, "", 0);
}
