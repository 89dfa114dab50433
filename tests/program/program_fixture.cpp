#include "program/program_fixture.h"

#include <QSettings>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "app/dispatch.h"
#include "menu/icon_loading.h"
#include "menu/status_menu.h"
#include "shortcuts/hotkey_list.h"
#include "shortcuts/key_name_map.h"

int ExitStatus(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ProgramTest::Start(const std::string& lines) {
  // Each start appends a line of its words, each in brackets, in one write.
  temporary.scratch.WriteFile(
      "bin/xdg-open", "#!/bin/sh\necho \"$(printf '[%s]' \"$@\")\" >> '" + openerRecord + "'\n",
      0755);
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

ProgramTest::~ProgramTest() {
  CloseSettingsStore();
  HotkeyList.clear();
}

void ProgramTest::Settle() {
  platform.toolkit.HandlePendingEvents();
  while (const std::int32_t kind = NextEvent(0)) {
    if (kind > 0)
      RunCommand(CommandForEvent(kind, EventNumber(), EventWindowNumber(), EventSubtype()));
  }
}

std::string ProgramTest::Stored(const std::string& key) const {
  const QSettings file(QString::fromStdString(temporary.SettingsFile().string()),
                       QSettings::IniFormat);
  return file.value(QString::fromStdString(key)).toString().toStdString();
}

const headless::Gadget& ProgramTest::Gadget(std::int64_t number) const {
  const headless::Gadget* gadget = platform.toolkit.FindGadget(number);
  if (gadget == nullptr) throw std::runtime_error("no gadget " + std::to_string(number));
  return *gadget;
}

const headless::MenuItem& ProgramTest::MenuItem(std::int64_t item) const {
  const headless::MenuItem* found = platform.toolkit.FindMenuItem(StatusMenu, item);
  if (found == nullptr) throw std::runtime_error("no item " + std::to_string(item));
  return *found;
}

bool ProgramTest::Registered(std::uint32_t keyCode, std::uint32_t modifiers) const {
  return std::ranges::any_of(platform.hotkeys.Registrations(), [&](const auto& registration) {
    return registration.keyCode == keyCode && registration.modifiers == modifiers;
  });
}

std::vector<std::string> ProgramTest::OpenerCalls(std::size_t count) const {
  for (int tries = 0; tries < 100 && ReadLines(openerRecord).size() < count; ++tries) {
    usleep(10000);
  }
  return ReadLines(openerRecord);
}

void ProgramTest::UseTool(const std::string& script) {
  tool.Set(temporary.scratch.WriteFile("bin/capture-tool",
                                       "#!/bin/bash\nout=${@: -1}\n" + script + "\n", 0755));
}
