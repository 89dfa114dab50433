#pragma once

// The Qt application of the tool, and the desktop's displays where they are needed. Kept apart
// from the capture words: Qt's GUI headers bring X11 names with them.

#include <QCoreApplication>

#include <memory>
#include <vector>

#include "display_crop.h"

// Only a display's part of the picture needs the displays, which takes a connection to the
// compositor; the rest needs none.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv, bool displays);

// The displays in the order the program lists them, the main one first.
std::vector<DesktopDisplay> DesktopDisplays();
