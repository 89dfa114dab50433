#include <cstdlib>
#include <fstream>
#include <optional>
#include <utility>
#include <vector>

#include "app/command_table.h"
#include "menu/status_menu.h"
#include "menu_fixture.h"
#include "platform/toolkit.h"

namespace {

// The environment variables of the user's folders, pointed at a temporary home for the life
// of the object, so a whole start-up writes its settings there.
class TemporaryHome {
 public:
  TemporaryHome() {
    Keep("HOME");
    Keep("XDG_CONFIG_HOME");
    setenv("HOME", home_.Path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home_.Path() / ".config").c_str(), 1);
  }
  ~TemporaryHome() {
    for (const auto& [name, value] : kept_) {
      if (value.has_value()) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }
  TemporaryHome(const TemporaryHome&) = delete;
  TemporaryHome& operator=(const TemporaryHome&) = delete;

  // Stores settings as an earlier run would have left them.
  void WriteSettings(const std::string& lines) {
    const std::filesystem::path folder = home_.Path() / ".config" / "vantorshot";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "VantorShot.ini") << "[General]\n" << lines;
  }

 private:
  void Keep(const char* name) {
    const char* value = std::getenv(name);
    kept_.emplace_back(name, value == nullptr ? std::nullopt : std::optional<std::string>(value));
  }

  TemporaryFolder home_;
  std::vector<std::pair<std::string, std::optional<std::string>>> kept_;
};

struct SeenInTheLoop {
  bool statusItem = false;
  std::string statusImage;
  std::vector<std::string> titles;
  std::string entireScreenKey;
  bool locationDisabled = false;
  int applicationIconWidth = 0;
};

class StartupMenuTest : public MenuTest {
 protected:
  // Runs the whole program: what the status item shows is noted from inside the loop, then the
  // status menu's Quit is chosen.
  int RunUntilQuit() {
    platform.toolkit.PushSystemEvent([this] {
      const headless::StatusItem& status = platform.toolkit.Status();
      seen.statusItem = status.present && status.menu != nullptr;
      seen.statusImage = FileOf(status.image);
      if (status.menu != nullptr) {
        for (const headless::MenuItem& entry : status.menu->items) {
          if (!entry.separator) seen.titles.push_back(entry.title);
        }
      }
      if (const headless::MenuItem* item = platform.toolkit.FindMenuItem(StatusMenu, 1)) {
        seen.entireScreenKey = item->keyEquivalent;
      }
      if (const headless::MenuItem* item = platform.toolkit.FindMenuItem(StatusMenu, 5)) {
        seen.locationDisabled = item->disabled;
      }
      seen.applicationIconWidth = ImageWidth(8);
    });
    platform.toolkit.ChooseMenuItem(StatusMenu, ItemQuit);
    return RunApplication();
  }

  TemporaryHome home;
  SeenInTheLoop seen;
};

TEST_F(StartupMenuTest, AFirstStartShowsTheDefaultsBeforeTheLoopAndQuitEndsWithStatusZero) {
  EXPECT_EQ(RunUntilQuit(), 0);

  EXPECT_TRUE(seen.statusItem);
  EXPECT_EQ(seen.statusImage, "app_icon1.png") << "a first start chooses MenuIcon 1";
  EXPECT_EQ(seen.titles,
            (std::vector<std::string>{"Capture Entire Screen (3 sec Timer)",
                                      "Capture Window...", "Capture Selection...",
                                      "Open Capture Location...", "Preferences...", "More...",
                                      "Quit"}));
  EXPECT_EQ(seen.entireScreenKey, "");
  EXPECT_EQ(seen.applicationIconWidth, 128);
  EXPECT_FALSE(platform.toolkit.Status().present) << "the status item is removed at quit";
  EXPECT_FALSE(MenuExists(StatusMenu));
  EXPECT_TRUE(platform.requesters.Alerts().empty());
}

TEST_F(StartupMenuTest, StoredSettingsShapeTheMenuAndIconFromTheFirstEvent) {
  home.WriteSettings("Timer=2\nMenuIcon=2\nShortKey1=⇧⌘1\nPreviewOn=1\n");
  EXPECT_EQ(RunUntilQuit(), 0);
  EXPECT_EQ(seen.statusImage, "app_icon3.png");
  ASSERT_FALSE(seen.titles.empty());
  EXPECT_EQ(seen.titles[0], "Capture Entire Screen (5 sec Timer)");
  EXPECT_EQ(seen.entireScreenKey, "1");
  EXPECT_TRUE(seen.locationDisabled);
}

}  // namespace
