#include "app/startup.h"
#include "platform/qt/desktop_platform.h"

int main(int argc, char** argv) {
  DesktopPlatform platform(argc, argv);
  // One copy per display: a second start leaves the running one alone.
  if (!platform.FirstInstance()) return 0;
  return RunApplication();
}
