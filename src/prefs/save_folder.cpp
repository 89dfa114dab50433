#include "prefs/save_folder.h"

#include "capture/capture_folder.h"
#include "platform/files.h"
#include "platform/requesters.h"
#include "platform/toolkit.h"
#include "prefs/preferences_window.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"

namespace {

// A folder path without its closing "/", except for the root itself.
std::string WithoutSlash(const std::string& folder) {
  return folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder;
}

}  // namespace

void ShowSaveFolderToolTip() {
  GadgetToolTip(GadgetSaveLocation, "[" + Settings.DisplayPath + "] = " + Settings.DirPath);
}

std::string UsersFolder() {
  std::string home = HomeFolder();
  if (home.size() < 2) return "/";
  home.pop_back();
  return home.substr(0, home.find_last_of('/') + 1);
}

void ChooseSaveFolder() {
  DisableGadget(GadgetSaveLocation, 0);
  const std::string users = UsersFolder();
  const std::string chosen = ChooseFolder("Please choose a Folder.", users);
  // A cancelled chooser changes nothing: captures keep going where they went.
  if (chosen.empty()) {
    if (Settings.LastSavePath.empty()) {
      ShowAlert("Warning!",
                "You must select a valid Folder -- one that is under the " + WithoutSlash(users) +
                    " directory.\n\nPlease try again.",
                AlertCaution);
    }
    return;
  }
  if (!chosen.starts_with(users)) {
    ShowAlert("Warning!",
              "You must select a Folder located under the " + users +
                  " directory path.\n\rPlease try again.",
              AlertCaution);
    return;
  }
  Settings.DirPath = chosen;
  Settings.DisplayPath = FolderName(chosen);
  SetGadgetItemText(GadgetSaveLocation, 0, Settings.DisplayPath);
  Settings.LastSavePath = Settings.DirPath;
  WriteSetting("DirPath", Settings.DirPath, Flush::Later);
  WriteSetting("DisplayPath", Settings.DisplayPath, Flush::Later);
  SynchronizeSettings();
  ShowSaveFolderToolTip();
}
