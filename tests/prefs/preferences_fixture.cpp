#include "prefs/preferences_fixture.h"

#include <QSettings>

#include "app/dispatch.h"
#include "menu/icon_loading.h"
#include "menu/status_menu.h"
#include "platform/toolkit.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "shortcuts/hotkey_list.h"
#include "shortcuts/key_name_map.h"

void PreferencesTest::Start(const std::string& lines) {
  temporary.WriteSettings(
      "Timer=1\nFileFormat=0\nFileLocation=0\nMenuIcon=1\nSoundOn=1\nShadowOn=1\nMouseOn=0\n"
      "ClipboardOn=0\nPreviewOn=0\nLogin=0\nDisplayPath=Documents\nDirPath=" +
      temporary.home.string() + "/Documents/\n" + lines);
  Settings = SettingsRecord{};
  FillKeyNameMap();
  InstallHotkeyHandler();
  OpenSettingsStore();
  LoadMenuIcons(VANTORSHOT_BUILT_RESOURCES);
  RegisterStartupHotkeys();
  BuildStatusMenu();
}

PreferencesTest::~PreferencesTest() {
  CloseSettingsStore();
  HotkeyList.clear();
}

void PreferencesTest::Settle() {
  platform.toolkit.HandlePendingEvents();
  while (const std::int32_t kind = NextEvent(0)) {
    if (kind > 0)
      RunCommand(CommandForEvent(kind, EventNumber(), EventWindowNumber(), EventSubtype()));
  }
}

std::string PreferencesTest::Stored(const std::string& key) const {
  const QSettings file(QString::fromStdString(temporary.SettingsFile().string()),
                       QSettings::IniFormat);
  return file.value(QString::fromStdString(key)).toString().toStdString();
}

const headless::Gadget& PreferencesTest::Gadget(std::int64_t number) const {
  const headless::Gadget* gadget = platform.toolkit.FindGadget(number);
  if (gadget == nullptr) throw std::runtime_error("no gadget " + std::to_string(number));
  return *gadget;
}

const headless::MenuItem& PreferencesTest::MenuItem(std::int64_t item) const {
  const headless::MenuItem* found = platform.toolkit.FindMenuItem(StatusMenu, item);
  if (found == nullptr) throw std::runtime_error("no item " + std::to_string(item));
  return *found;
}

bool PreferencesTest::Registered(std::uint32_t keyCode, std::uint32_t modifiers) const {
  for (const auto& r : platform.hotkeys.Registrations()) {
    if (r.keyCode == keyCode && r.modifiers == modifiers) return true;
  }
  return false;
}
