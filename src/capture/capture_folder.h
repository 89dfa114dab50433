#pragma once

#include <string>

// The folder the next capture goes to, ending in "/": the capture folder (DirPath) when it is
// a folder now, else the user's Documents folder, made when missing. The fallback holds for
// this capture alone: a drive unplugged for a moment does not change the user's choice.
std::string ResolveCaptureFolder();

// Whether captures go elsewhere than the capture folder now, because it is missing.
bool CaptureFolderMissing();
