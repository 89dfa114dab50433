#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

// With what the tests of the program's windows and captures use most.
#include "capture/capture_engine.h"
#include "menu/image_slots.h"
#include "platform/command_numbers.h"
#include "platform/headless/headless_platform.h"
#include "platform/toolkit.h"
#include "prefs/preferences_window.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "support/support.h"

// The exit status of a shell command, or -1 when it did not exit.
int ExitStatus(const std::string& command);

// The program as far as its windows and boxes need it: a settings file in a temporary home, the
// hot keys and the status menu, on the headless desktop, and a recording opener on the PATH.
// Events run through the program's own dispatch.
class ProgramTest : public ::testing::Test {
 protected:
  // Starts from a settings file holding `lines` (the keys of a first run unless overridden).
  void Start(const std::string& lines = "");
  ~ProgramTest() override;

  // Handles the pushed system events and runs the commands they queue, as the loop would.
  void Settle();
  // The value the settings file holds for `key` now, as another program reading it would see.
  std::string Stored(const std::string& key) const;
  const headless::Gadget& Gadget(std::int64_t number) const;
  bool Enabled(std::int64_t gadget) const { return !Gadget(gadget).disabled; }
  const headless::MenuItem& MenuItem(std::int64_t item) const;
  bool Registered(std::uint32_t keyCode, std::uint32_t modifiers) const;
  // The words the opener was started with, "[word]..." a start, waiting up to a second for
  // `count` starts.
  std::vector<std::string> OpenerCalls(std::size_t count = 0) const;
  // Captures run a stand-in tool, this bash script; $out is the path it is asked to write.
  void UseTool(const std::string& script);
  std::vector<Notification>& Shown() { return platform.notifications.shown; }

  TemporaryHome temporary;
  std::string openerRecord = temporary.scratch.Path() + "opener-calls";
  ScopedEnvironment path{"PATH", temporary.scratch.Path() + "bin:" + std::getenv("PATH")};
  ScopedEnvironment tool{"VANTORSHOT_CAPTURE_TOOL"};
  headless::Platform platform;
};
