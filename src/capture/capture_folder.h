#pragma once

// Makes sure the capture folder can be used: when DirPath names nothing that exists (or is
// empty), it becomes the user's Documents folder, in memory and in the stored settings.
void ResolveCaptureFolder();
