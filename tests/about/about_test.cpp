#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "about/about_box.h"
#include "about/web_links.h"
#include "menu/image_slots.h"
#include "platform/build_info.h"
#include "platform/command_numbers.h"
#include "platform/requesters.h"
#include "platform/toolkit.h"
#include "prefs/preferences_window.h"
#include "program/program_fixture.h"

namespace {

using Calls = std::vector<std::vector<std::string>>;
constexpr std::int64_t AllItems[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};

TEST_F(ProgramTest, AboutDisablesTheMenuWhileUpAndRestoresItsRulesAfterwards) {
  struct Case {
    const char* settings;
    bool preferencesOpen;
    bool locationDisabled;
  };
  // The window opened by the last case stays open: it comes last.
  for (const Case& c : {Case{"", false, false}, Case{"PreviewOn=1\n", false, true},
                        Case{"ClipboardOn=1\n", true, true}}) {
    SCOPED_TRACE(c.settings);
    Start(c.settings);
    if (c.preferencesOpen) OpenPreferences();
    std::vector<std::int64_t> enabledWhileUp;
    platform.requesters.WhileNextAlertIsUp([&] {
      for (std::int64_t item : AllItems) {
        if (!MenuItem(item).disabled) enabledWhileUp.push_back(item);
      }
    });
    platform.toolkit.ChooseMenuItem(0, ItemAbout);
    Settle();
    EXPECT_TRUE(enabledWhileUp.empty());
    for (std::int64_t item : {1, 2, 3, 6, 7, 8, 9}) EXPECT_FALSE(MenuItem(item).disabled) << item;
    EXPECT_EQ(MenuItem(ItemOpenCaptureLocation).disabled, c.locationDisabled);
    EXPECT_EQ(MenuItem(ItemPreferences).disabled, c.preferencesOpen);
  }
  EXPECT_TRUE(OpenerCalls().empty()) << "Ok opens nothing";
}

TEST_F(ProgramTest, TheBoxShowsTheProgramAndItsVersion) {
  Start();
  ShowAboutBox();
  ASSERT_EQ(platform.requesters.Alerts().size(), 1u);
  const AlertRequest& box = platform.requesters.Alerts().front();
  EXPECT_EQ(box.title, "Vantor Shot II 1.18\n(" + std::string(BuiltForMachine) + ")");
  EXPECT_EQ(box.text,
            "\nA simple screen capture tool\nmade with great angst\n\rby the Vantor Shot II "
            "developers\n");
  ASSERT_EQ(box.buttons.size(), 2u);
  EXPECT_EQ(box.buttons[0].label, "Ok");
  EXPECT_EQ(box.buttons[1].label, "See My Other Apps");
  EXPECT_EQ(box.escapeTag, box.buttons[0].tag) << "Escape is Ok";
  EXPECT_EQ(box.image, ImageHandle(ApplicationIconImage));
}

TEST_F(ProgramTest, LinksGoToTheOpenerAsOneWord) {
  Start();
  platform.requesters.QueueAlertAnswer(FirstButtonAnswer + 1);
  platform.toolkit.ChooseMenuItem(0, ItemAbout);
  platform.toolkit.ChooseMenuItem(0, ItemGiveFeedback);
  platform.toolkit.ChooseMenuItem(0, ItemContactMe);
  Settle();
  // The opener runs on its own: the three may land in any order.
  Calls calls = OpenerCalls(3);
  std::sort(calls.begin(), calls.end());
  Calls expected = {{ProjectsPage()}, {FeedbackForm()}, {ContactPage()}};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(platform.requesters.Alerts().size(), 1u) << "the links show nothing of their own";
}

TEST_F(ProgramTest, AHotKeyPressedUnderTheBoxRunsWhenItCloses) {
  Start("ShortKey4=⌃⌥⇧L\n");
  platform.requesters.WhileNextAlertIsUp(
      [&] { platform.hotkeys.PressKey(37, HotkeyControl | HotkeyOption | HotkeyShift); });
  ShowAboutBox();
  EXPECT_TRUE(OpenerCalls().empty()) << "not while the box was up";
  Settle();
  EXPECT_EQ(OpenerCalls(1).size(), 1u) << "the capture folder opened afterwards";
}

TEST(WebPages, OurOwnPagesExistAndAreValidHtml) {
  for (const std::string& address : {ProjectsPage(), FeedbackForm(), ContactPage()}) {
    SCOPED_TRACE(address);
    ASSERT_TRUE(address.starts_with("file:///")) << "with no address chosen at build time";
    const std::string path = address.substr(7);
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(WEXITSTATUS(std::system(("tidy -e -q '" + path + "' 2>&1").c_str())), 0);
  }
}

}  // namespace
