#include "about/about_box.h"

#include "about/web_links.h"
#include "menu/image_slots.h"
#include "menu/status_menu.h"
#include "platform/build_info.h"
#include "platform/command_numbers.h"
#include "platform/requesters.h"
#include "platform/toolkit.h"
#include "settings/settings_record.h"

std::string AboutMessage() {
  return "Vantor Shot II " + std::string(ProgramVersion) + "\n(" + std::string(BuiltForMachine) +
         ")";
}

void ShowAboutBox() {
  // While the box is up nothing can be chosen; hot keys wait in the queue until it closes.
  for (std::int64_t item :
       {ItemCaptureEntireScreen, ItemCaptureWindow, ItemCaptureSelection, ItemOpenCaptureLocation,
        ItemAbout, ItemPreferences, ItemGiveFeedback, ItemContactMe, ItemQuit}) {
    SetMenuItemDisabled(StatusMenu, item, 1);
  }
  const int answer = ShowMessageBox(AboutMessage(), AboutText, {"Ok", "See My Other Apps"},
                                    ImageHandle(ApplicationIconImage));
  if (answer == FirstButtonAnswer + 1) OpenLink(ProjectsPage());

  for (std::int64_t item : {ItemCaptureEntireScreen, ItemCaptureWindow, ItemCaptureSelection,
                            ItemAbout, ItemGiveFeedback, ItemContactMe, ItemQuit}) {
    SetMenuItemDisabled(StatusMenu, item, 0);
  }
  ApplyLocationItemRule();
  SetMenuItemDisabled(StatusMenu, ItemPreferences, WindowExists(PreferencesWindow) != 0 ? 1 : 0);
}
