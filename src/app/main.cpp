#include "app/startup.h"
#include "platform/qt/desktop_platform.h"

// The program on the Linux desktop.
int main(int argc, char** argv) {
  DesktopPlatform platform(argc, argv);
  switch (platform.HowToStart()) {
    case DesktopPlatform::Start::Run: return RunApplication();
    // One copy per display: a second start leaves the running one alone.
    case DesktopPlatform::Start::AlreadyRunning: return 0;
    case DesktopPlatform::Start::Refused: return 1;
  }
  return 1;
}
