#include "platform/headless/headless_platform.h"

#include "platform/termination_request.h"

namespace headless {

Platform::Platform() {
  InstallNativeToolkit(&toolkit);
  InstallRequesters(&requesters);
  InstallHotkeyService(&hotkeys);
  InstallHost(&host);
  InstallNotifier(&notifications);
  WatchTerminationRequests();
}

Platform::~Platform() {
  StopWatchingTerminationRequests();
  InstallNotifier(nullptr);
  InstallHost(nullptr);
  InstallHotkeyService(nullptr);
  InstallRequesters(nullptr);
  InstallNativeToolkit(nullptr);
}

}  // namespace headless
