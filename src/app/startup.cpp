#include "app/startup.h"

#include "app/event_loop.h"
#include "platform/executable_path.h"
#include "platform/host.h"
#include "platform/hotkey_service.h"
#include "platform/requesters.h"
#include "platform/toolkit.h"

std::string ResourcesPath;

namespace {

std::string ResourcesPathFor(const std::string& executable) {
  std::string path = executable;
  if (!path.empty() && path.front() == '"') path.erase(0, 1);
  const std::size_t slash = path.find_last_of('/');
  path = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  return path + "../share/vantorshot/";
}

void IgnoreHotkey(HotkeyId) {}

}  // namespace

int RunApplication() {
  Host* host = InstalledHost();
  ResourcesPath = ResourcesPathFor(ExecutablePath());

  HotkeyService* hotkeys = InstalledHotkeyService();
  if (hotkeys == nullptr || !hotkeys->InstallHandler(IgnoreHotkey)) {
    ShowAlert(HandlerFailureTitle, HandlerFailureText, 0);
    return 0;
  }

  if (host != nullptr) host->ObserveAppearance(true);
  if (host == nullptr || !host->Supported()) {
    const std::string requirement =
        host == nullptr ? std::string("This desktop cannot run the program.")
                        : host->Requirement();
    ShowAlert(UnsupportedHostTitle, requirement + "\n\nThis app will now quit.", AlertStop);
    return 0;
  }
  host->BecomeAccessory();

  RunEventLoop();

  RemoveStatusItem();
  FreeMenu(0);
  host->ObserveAppearance(false);
  return 0;
}
