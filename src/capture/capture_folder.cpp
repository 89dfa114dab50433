#include "capture/capture_folder.h"

#include "platform/files.h"
#include "settings/settings_record.h"

namespace {

std::string ChosenFolder() {
  std::string folder = Settings.DirPath;
  // A hand-edited setting may lack the closing slash; the name must not run into the file's.
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

bool CaptureFolderMissing() {
  return !Settings.DirPath.empty() && PathSize(ChosenFolder()) != PathIsFolder;
}

std::string ResolveCaptureFolder() {
  const std::string chosen = ChosenFolder();
  if (!chosen.empty() && PathSize(chosen) == PathIsFolder) return chosen;
  const std::string documents = DocumentsFolder();
  // An account without a Documents folder would otherwise lose every capture.
  CreateFolder(documents);
  return documents;
}
