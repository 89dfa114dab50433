#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "about/about_box.h"
#include "about/web_links.h"
#include "platform/build_info.h"
#include "platform/requesters.h"
#include "program/program_fixture.h"

namespace {

TEST_F(ProgramTest, AboutDisablesTheMenuWhileUpAndRestoresItsRulesAfterwards) {
  // Settings, whether Preferences is open, whether Open Capture Location is off. The window
  // opened by the last case stays open: it comes last.
  for (const auto& [settings, preferencesOpen, locationOff] : {std::tuple{"", false, false},
                                                               {"PreviewOn=1\n", false, true},
                                                               {"ClipboardOn=1\n", true, true}}) {
    SCOPED_TRACE(settings);
    Start(settings);
    if (preferencesOpen) OpenPreferences();
    std::vector<std::int64_t> enabledWhileUp{0};  // stays so unless the box came up
    platform.requesters.WhileNextAlertIsUp([&] {
      enabledWhileUp.clear();
      for (std::int64_t item = 1; item <= 9; ++item) {
        if (!MenuItem(item).disabled) enabledWhileUp.push_back(item);
      }
    });
    platform.toolkit.ChooseMenuItem(0, ItemAbout);
    Settle();
    EXPECT_TRUE(enabledWhileUp.empty());
    for (std::int64_t item : {1, 2, 3, 6, 7, 8, 9}) EXPECT_FALSE(MenuItem(item).disabled) << item;
    EXPECT_EQ(MenuItem(ItemOpenCaptureLocation).disabled, locationOff);
    EXPECT_EQ(MenuItem(ItemPreferences).disabled, preferencesOpen);
  }
  EXPECT_TRUE(OpenerCalls().empty()) << "Ok opens nothing";
  const AlertRequest& box = platform.requesters.Alerts().back();
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

TEST_F(ProgramTest, LinksAndHotKeysPressedUnderTheBoxGoToTheOpenerAfterwards) {
  Start("ShortKey4=⌃⌥⇧L\n");
  platform.requesters.WhileNextAlertIsUp(
      [&] { platform.hotkeys.PressKey(37, HotkeyControl | HotkeyOption | HotkeyShift); });
  platform.requesters.QueueAlertAnswer(FirstButtonAnswer + 1);
  ShowAboutBox();
  EXPECT_EQ(OpenerCalls(1), std::vector{"[" + ProjectsPage() + "]"})
      << "the hot key does not run while the box is up";
  platform.toolkit.ChooseMenuItem(0, ItemGiveFeedback);
  platform.toolkit.ChooseMenuItem(0, ItemContactMe);
  Settle();
  // The opener runs on its own: the calls may land in any order.
  std::vector<std::string> calls = OpenerCalls(4);
  std::vector<std::string> expected;
  for (const std::string& word :
       {ProjectsPage(), FeedbackForm(), ContactPage(), Settings.DirPath}) {
    expected.push_back("[" + word + "]");
  }
  std::sort(calls.begin(), calls.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(calls, expected) << "each link as one word, then the capture folder";
  EXPECT_EQ(platform.requesters.Alerts().size(), 1u) << "the links show nothing of their own";
}

TEST(WebPages, OurOwnPagesExistAndAreValidHtml) {
  for (const std::string& address : {ProjectsPage(), FeedbackForm(), ContactPage()}) {
    SCOPED_TRACE(address);
    ASSERT_TRUE(address.starts_with("file:///")) << "with no address chosen at build time";
    ASSERT_TRUE(std::filesystem::exists(address.substr(7)));
    EXPECT_EQ(ExitStatus("tidy -e -q '" + address.substr(7) + "' 2>&1"), 0);
  }
}

}  // namespace
