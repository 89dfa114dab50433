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

std::string FolderName(const std::string& folder) {
  const std::size_t end = folder.find_last_not_of('/');
  if (end == std::string::npos) return "/";
  // No slash before the name gives npos, and npos + 1 is 0: the name starts the path.
  const std::size_t start = folder.find_last_of('/', end) + 1;
  return folder.substr(start, end + 1 - start);
}

std::string MissingCaptureFolderName(const std::string& folder) {
  const std::string chosen = ChosenFolder();
  // Decided by the folder the capture was given, not by the disk now: the capture folder may
  // come back while the user is still selecting.
  return chosen.empty() || folder == chosen ? std::string() : FolderName(chosen);
}

std::string ResolveCaptureFolder() {
  const std::string chosen = ChosenFolder();
  if (!chosen.empty() && PathSize(chosen) == PathIsFolder) return chosen;
  const std::string documents = DocumentsFolder();
  // An account without a Documents folder would otherwise lose every capture.
  CreateFolder(documents);
  return documents;
}
