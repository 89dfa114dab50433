#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/headless/headless_platform.h"
#include "settings/settings_record.h"

// A headless desktop with default settings and the icon files the build copied.
class MenuTest : public ::testing::Test {
 protected:
  MenuTest() { Settings = SettingsRecord{}; }

  std::string resources = VANTORSHOT_BUILT_RESOURCES;

  // The file name of the image a menu item or the status item shows, or "" for none.
  static std::string FileOf(const headless::Image* image) {
    return image == nullptr ? std::string()
                            : std::filesystem::path(image->path).filename().string();
  }

  headless::Platform platform;
};
