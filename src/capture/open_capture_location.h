#pragma once

// Shows the capture folder with the desktop's opener, without waiting for it.
void OpenCaptureLocation();
