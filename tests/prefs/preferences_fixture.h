#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/headless/headless_platform.h"
#include "support/temporary_home.h"

// The program as far as the Preferences window needs it: a settings file in a temporary home,
// the hot keys and the status menu, on the headless desktop. Events run through the program's
// own dispatch.
class PreferencesTest : public ::testing::Test {
 protected:
  // Starts from a settings file holding `lines` (the keys of a first run unless overridden).
  void Start(const std::string& lines = "");
  ~PreferencesTest() override;

  // Handles the pushed system events and runs the commands they queue, as the loop would.
  void Settle();
  // The value the settings file holds for `key` now, as another program reading it would see.
  std::string Stored(const std::string& key) const;
  const headless::Gadget& Gadget(std::int64_t number) const;
  bool Enabled(std::int64_t gadget) const { return !Gadget(gadget).disabled; }
  const headless::MenuItem& MenuItem(std::int64_t item) const;
  bool Registered(std::uint32_t keyCode, std::uint32_t modifiers) const;

  TemporaryHome temporary;
  headless::Platform platform;
};
