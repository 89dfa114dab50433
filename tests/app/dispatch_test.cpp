#include <gtest/gtest.h>

#include "app/dispatch.h"
#include "platform/command_numbers.h"
#include "platform/event_record.h"

namespace {

Command ForMenu(std::int64_t item) {
  return CommandForEvent(MenuEvent, item, 0, 0).command;
}

TEST(Dispatch, EveryMenuNumberRunsItsCommand) {
  EXPECT_EQ(ForMenu(-4), Command::Quit);
  EXPECT_EQ(ForMenu(-3), Command::None) << "the application menu's About does nothing";
  EXPECT_EQ(ForMenu(-2), Command::OpenPreferences);
  EXPECT_EQ(ForMenu(-1), Command::None);
  EXPECT_EQ(ForMenu(0), Command::None);
  EXPECT_EQ(ForMenu(1), Command::CaptureEntireScreen);
  EXPECT_EQ(ForMenu(2), Command::CaptureWindow);
  EXPECT_EQ(ForMenu(3), Command::CaptureSelection);
  EXPECT_EQ(ForMenu(4), Command::OpenPreferences);
  EXPECT_EQ(ForMenu(5), Command::OpenCaptureLocation);
  EXPECT_EQ(ForMenu(6), Command::ShowAboutBox);
  EXPECT_EQ(ForMenu(7), Command::OpenFeedbackForm);
  EXPECT_EQ(ForMenu(8), Command::OpenContactPage);
  EXPECT_EQ(ForMenu(9), Command::Quit);
  EXPECT_EQ(ForMenu(10), Command::None);
  EXPECT_EQ(ForMenu(4000), Command::None) << "Escape of the helper windows";
}

TEST(Dispatch, HotKeysRunTheCommandsOfItems1235) {
  EXPECT_EQ(CommandForEvent(HotkeyEvent1, -65535, -65535, -65535).command, ForMenu(1));
  EXPECT_EQ(CommandForEvent(HotkeyEvent2, -65535, -65535, -65535).command, ForMenu(2));
  EXPECT_EQ(CommandForEvent(HotkeyEvent3, -65535, -65535, -65535).command, ForMenu(3));
  EXPECT_EQ(CommandForEvent(HotkeyEvent4, -65535, -65535, -65535).command, ForMenu(5));
  EXPECT_EQ(CommandForEvent(0x10005, 0, 0, 0).command, Command::None);
  EXPECT_EQ(CommandForEvent(0x10000, 0, 0, 0).command, Command::None);
}

TEST(Dispatch, AppearanceChangeReappliesTheIconAndOtherKindsAreIgnored) {
  EXPECT_EQ(CommandForEvent(AppearanceChangedEvent, 0, 0, 0).command, Command::ApplyAppearance);
  EXPECT_EQ(CommandForEvent(CountdownFinishedEvent, 0, 0, 0).command, Command::None);
  EXPECT_EQ(CommandForEvent(4, 1, 1, 0).command, Command::None);
  EXPECT_EQ(CommandForEvent(-1, 0, 0, 0).command, Command::None);
}

TEST(Dispatch, OnlyThePreferencesWindowCloseRunsClosePreferences) {
  EXPECT_EQ(CommandForEvent(CloseWindowEvent, 1, 1, 0).command, Command::ClosePreferences);
  EXPECT_EQ(CommandForEvent(CloseWindowEvent, 2, 2, 0).command, Command::None);
  EXPECT_EQ(CommandForEvent(CloseWindowEvent, 3, 3, 0).command, Command::None);
}

TEST(Dispatch, GadgetNumbers12To27GoToThePreferencesWhateverTheirWindow) {
  for (std::int64_t g = 0; g < 40; ++g) {
    const CommandRequest request = CommandForEvent(GadgetEvent, g, 7, SubtypeChange);
    if (g >= 12 && g <= 27) {
      EXPECT_EQ(request.command, Command::HandlePreferencesGadget) << g;
      EXPECT_EQ(request.gadget, g);
      EXPECT_EQ(request.subtype, SubtypeChange);
    } else {
      EXPECT_EQ(request.command, Command::None) << g;
    }
  }
}

TEST(Dispatch, OnlyQuitEndsTheLoop) {
  EXPECT_FALSE(RunCommand({Command::Quit}));
  EXPECT_TRUE(RunCommand({Command::None}));
}

}  // namespace
