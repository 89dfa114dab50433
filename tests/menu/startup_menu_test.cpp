#include <string>
#include <vector>

#include "app/startup.h"
#include "menu/status_menu.h"
#include "menu_fixture.h"
#include "platform/command_numbers.h"
#include "platform/toolkit.h"
#include "support/temporary_home.h"

namespace {

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
            (std::vector<std::string>{"Capture Entire Screen (3 sec Timer)", "Capture Window...",
                                      "Capture Selection...", "Open Capture Location...",
                                      "Preferences...", "More...", "Quit"}));
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
