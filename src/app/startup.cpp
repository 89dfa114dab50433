#include "app/startup.h"

#include "app/event_loop.h"
#include "menu/icon_loading.h"
#include "menu/status_menu.h"
#include "platform/executable_path.h"
#include "platform/host.h"
#include "platform/requesters.h"
#include "platform/toolkit.h"
#include "settings/settings_store.h"
#include "shortcuts/hotkey_list.h"
#include "shortcuts/key_name_map.h"

std::string ResourcesPath;

namespace {

std::string ResourcesPathFor(const std::string& executable) {
  std::string path = executable;
  if (!path.empty() && path.front() == '"') path.erase(0, 1);
  const std::size_t slash = path.find_last_of('/');
  path = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  return path + "../share/vantorshot/";
}

}  // namespace

int RunApplication() {
  Host* host = InstalledHost();
  ResourcesPath = ResourcesPathFor(ExecutablePath());

  FillKeyNameMap();
  if (!InstallHotkeyHandler()) {
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
  OpenSettingsStore();

  LoadMenuIcons();
  LoadMenuSymbols();
  BuildStatusMenu();

  RunEventLoop();

  RemoveStatusItem();
  FreeMenu(0);
  host->ObserveAppearance(false);
  CloseSettingsStore();
  return 0;
}
