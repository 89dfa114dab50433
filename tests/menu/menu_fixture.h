#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/startup.h"
#include "platform/headless/headless_platform.h"
#include "settings/settings_record.h"

// A headless desktop with default settings and the icon files the build copied.
class MenuTest : public ::testing::Test {
 protected:
  MenuTest() {
    Settings = SettingsRecord{};
    ResourcesPath = VANTORSHOT_BUILT_RESOURCES;
  }

  // The file name of the image a menu item or the status item shows, or "" for none.
  static std::string FileOf(const headless::Image* image) {
    return image == nullptr ? std::string() : std::filesystem::path(image->path).filename().string();
  }

  headless::Platform platform;
};

// A folder of its own under the system's temporary folder, removed with its contents.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vantorshot-menu-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make a temporary folder";
    path_ = pattern;
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The path with its trailing "/", as folder texts of the program end.
  std::string Folder() const { return path_.string() + "/"; }

 private:
  std::filesystem::path path_;
};
