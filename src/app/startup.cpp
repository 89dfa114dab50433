#include "app/startup.h"

#include "app/event_loop.h"
#include "menu/icon_loading.h"
#include "menu/status_menu.h"
#include "platform/host.h"
#include "platform/program_location.h"
#include "platform/requesters.h"
#include "platform/toolkit.h"
#include "settings/settings_store.h"
#include "shortcuts/hotkey_list.h"
#include "shortcuts/key_name_map.h"

int RunApplication(std::optional<std::int64_t> first) {
  Host* host = InstalledHost();

  FillKeyNameMap();
  if (!InstallHotkeyHandler()) {
    ShowAlert(HandlerFailureTitle, HandlerFailureText, 0);
    return 0;
  }

  if (host != nullptr) host->ObserveAppearance(true);
  if (host == nullptr || !host->Supported()) {
    const std::string requirement =
        host == nullptr ? std::string("This desktop cannot run the program.") : host->Requirement();
    ShowAlert(UnsupportedHostTitle, requirement + "\n\nThis app will now quit.", AlertStop);
    return 0;
  }
  host->BecomeAccessory();
  OpenSettingsStore();

  const std::string resources = ResourcesFolder();
  LoadMenuIcons(resources);
  LoadMenuSymbols(resources);
  // Each capture item shows the shortcut of its hot key.
  RegisterStartupHotkeys();
  BuildStatusMenu();
  if (first) QueueEvent(MenuEvent, *first, 0, 0, PostCustom);

  RunEventLoop();

  RemoveStatusItem();
  FreeMenu(0);
  host->ObserveAppearance(false);
  CloseSettingsStore();
  return 0;
}
