#pragma once

#include <string>

// The folder the next capture goes to, ending in "/": the capture folder (DirPath) when it is
// a folder now, else the user's Documents folder, made when missing. The fallback holds for
// this capture alone: a drive unplugged for a moment does not change the user's choice.
std::string ResolveCaptureFolder();

// The capture folder's own name ("Captures" for /home/ann/Captures/) when `folder`, as
// ResolveCaptureFolder gave it, stands in for the capture folder because that was missing;
// empty when it is the capture folder.
std::string MissingCaptureFolderName(const std::string& folder);

// The last name of a folder's path ("Documents" for /home/ann/Documents/); "/" for the root.
std::string FolderName(const std::string& folder);
