#include <cstdlib>
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
  std::int64_t applicationIconWidth = 0;
};

TEST_F(MenuTest, AFirstStartBuildsTheMenuBeforeTheLoopAndQuitEndsItWithStatusZero) {
  TemporaryHome home;
  SeenInTheLoop seen;
  platform.toolkit.PushSystemEvent([this, &seen] {
    const headless::StatusItem& status = platform.toolkit.Status();
    seen.statusItem = status.present && status.menu != nullptr;
    seen.statusImage = FileOf(status.image);
    if (status.menu != nullptr) {
      for (const headless::MenuItem& entry : status.menu->items) {
        if (!entry.separator) seen.titles.push_back(entry.title);
      }
    }
    seen.applicationIconWidth = ImageWidth(8);
  });
  platform.toolkit.ChooseMenuItem(StatusMenu, ItemQuit);

  EXPECT_EQ(RunApplication(), 0);

  EXPECT_TRUE(seen.statusItem);
  EXPECT_EQ(seen.statusImage, "app_icon2.png");
  EXPECT_EQ(seen.titles,
            (std::vector<std::string>{"Capture Entire Screen", "Capture Window...",
                                      "Capture Selection...", "Open Capture Location...",
                                      "Preferences...", "More...", "Quit"}));
  EXPECT_EQ(seen.applicationIconWidth, 128);
  EXPECT_FALSE(platform.toolkit.Status().present) << "the status item is removed at quit";
  EXPECT_FALSE(MenuExists(StatusMenu));
  EXPECT_TRUE(platform.requesters.Alerts().empty());
}

}  // namespace
