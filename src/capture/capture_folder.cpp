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
  const std::size_t slash = folder.find_last_of('/', end);
  return folder.substr(slash == std::string::npos ? 0 : slash + 1,
                       end - (slash == std::string::npos ? 0 : slash + 1) + 1);
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
