#include "app/startup.h"
#include "platform/qt/desktop_platform.h"

// The program on the Linux desktop.
int main(int argc, char** argv) {
  DesktopPlatform platform(argc, argv);
  // One copy per display: a second start leaves the running one alone.
  if (!platform.FirstInstance()) return 0;
  return RunApplication();
}
