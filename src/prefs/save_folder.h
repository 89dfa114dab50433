#pragma once

// The capture folder as the Preferences window chooses it.

#include <string>

// The folder that holds the users' home folders: the parent of this user's home folder, "/home/"
// for "/home/u1/", "/" for "/root/"; ending in "/". Capture folders must lie under it.
std::string UsersFolder();

// Runs the folder chooser and stores a folder under UsersFolder() as the capture folder, or
// warns when the choice cannot be taken. The Select... button's reaction.
void ChooseSaveFolder();

// Shows "[DisplayPath] = DirPath" as the save-location list's tooltip.
void ShowSaveFolderToolTip();
