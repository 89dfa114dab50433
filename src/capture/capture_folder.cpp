#include "capture/capture_folder.h"

#include "platform/files.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"

void ResolveCaptureFolder() {
  if (PathSize(Settings.DirPath) != PathCannotBeExamined) return;
  Settings.DirPath = DocumentsFolder();
  Settings.DisplayPath = "Documents";
  // An account without a Documents folder would otherwise lose every capture.
  CreateFolder(Settings.DirPath);
  // The next flush of the store takes these along; a capture does not wait for the disk.
  WriteSetting("DirPath", Settings.DirPath, Flush::Later);
  WriteSetting("DisplayPath", Settings.DisplayPath, Flush::Later);
}
