#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>

#include "app/dispatch.h"
#include "app/startup.h"
#include "menu/icon_loading.h"
#include "menu/image_slots.h"
#include "menu/status_menu.h"
#include "platform/command_numbers.h"
#include "platform/headless/headless_platform.h"
#include "platform/toolkit.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "shortcuts/hotkey_list.h"
#include "shortcuts/key_name_map.h"
#include "support/support.h"

namespace {

// The exit status of `body` run in a child process: how the program really ends.
int ExitStatusOf(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) std::_Exit(body());
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A whole start-up reads and writes the settings file; the real user's must stay untouched.
class Startup : public ::testing::Test {
 protected:
  TemporaryHome home;
};

TEST_F(Startup, TheLoopReadsOnPastEventsThatDoNothingUntilQuit) {
  for (const std::int64_t quit : {ItemQuit, QuitMenuNumber}) {
    headless::Platform platform;
    platform.toolkit.PushSystemEvent([] {
      for (const std::int64_t item : {-1, 0, 10}) {
        QueueEvent(MenuEvent, item, 0, 0, PostNoCoalesce);
      }
      QueueEvent(CloseWindowEvent, CountdownWindow, CountdownWindow, 0, 0);
      QueueEvent(GadgetEvent, 40, PickerWindow, SubtypeClick, 0);
      QueueEvent(CountdownFinishedEvent, 0, 0, 0, PostCustom);
      QueueEvent(AppearanceChangedEvent, 0, 0, 0, PostCustom);
    });
    platform.toolkit.PushSystemEvent([quit] { QueueEvent(MenuEvent, quit, 0, 0, 0); });
    EXPECT_EQ(RunApplication(), 0);
    EXPECT_EQ(platform.toolkit.PendingEventCount(), 0u) << "the loop read on until " << quit;
    EXPECT_TRUE(platform.host.IsAccessory() && platform.hotkeys.HandlerInstalled());
    EXPECT_TRUE(platform.requesters.Alerts().empty());
    EXPECT_FALSE(platform.toolkit.AppearanceObserved() || platform.toolkit.Status().present)
        << "the observer and the status item go at quit";
  }
}

// Each failure shows its alert and ends the process with status 0, having started nothing.
TEST_F(Startup, EachFailureShowsItsAlertAndEndsTheProcessWithStatusZero) {
  for (const bool handler : {true, false}) {
    EXPECT_EQ(
        ExitStatusOf([handler] {
          headless::Platform platform;
          platform.hotkeys.RefuseHandler(handler);
          platform.host.SetSupported(handler);
          if (RunApplication() != 0 || platform.requesters.Alerts().size() != 1) return 1;
          const AlertRequest& alert = platform.requesters.Alerts()[0];
          const std::string text =
              handler ? "Failed to install handler."
                      : platform.host.Requirement() + "\n\nThis app will now quit.";
          const bool shown = alert.title == (handler ? "Fatal Error!" : "Error!") &&
                             alert.text == text && alert.buttons.empty() &&
                             alert.icon == (handler ? AlertIcon::Application : AlertIcon::Stop);
          // The observer comes after the handler and before the host check, which leaves it.
          const bool quiet = !platform.host.IsAccessory() && !platform.toolkit.Status().present &&
                             platform.toolkit.AppearanceObserved() == !handler;
          return shown && quiet ? 0 : 2;
        }),
        0)
        << (handler ? "a refused hot-key handler" : "an unsupported host");
  }
}

namespace fs = std::filesystem;

// The headless desktop with the icon files the build copied beside the program.
class MenuTest : public ::testing::Test {
 protected:
  MenuTest() {
    Settings = SettingsRecord{};
    FillKeyNameMap();
    InstallHotkeyHandler();
  }
  ~MenuTest() override { Settings = SettingsRecord{}; }
  void Build() {
    LoadMenuIcons(resources);
    LoadMenuSymbols(resources);
    RegisterStartupHotkeys();
    BuildStatusMenu();
  }
  const headless::MenuItem& Item(std::int64_t item) const {
    const headless::MenuItem* found = desk.FindMenuItem(StatusMenu, item);
    if (found == nullptr) throw std::runtime_error("no item " + std::to_string(item));
    return *found;
  }
  static const headless::Image* Slot(std::int64_t slot) {
    return static_cast<const headless::Image*>(ImageHandle(slot));
  }
  // The file name of an image, or "" for none.
  static std::string FileOf(const headless::Image* image) {
    return image == nullptr ? "" : fs::path(image->path).filename().string();
  }
  // The menu as a person reads it: titles, "-" for separators, submenus in brackets.
  static std::string Layout(const headless::Menu& menu) {
    std::string text;
    for (const headless::MenuItem& e : menu.items) {
      text += (e.separator ? "-" : e.title) + (e.submenu ? "[" + Layout(*e.submenu) + "]" : "");
      text += e.separator ? "" : "<" + FileOf(e.image) + ">";
      text += "|";
    }
    return text;
  }

  std::string resources = VANTORSHOT_BUILT_RESOURCES;
  headless::Platform platform;
  headless::Toolkit& desk = platform.toolkit;
};

TEST_F(MenuTest, IconsComeInTheSetForTheScaleInTheSlotOrderOfTheSetting) {
  // MenuIcon 0 shows design 2 and MenuIcon 1 design 1; slots 4-7 are their dark variants.
  const char* designs = "2134";
  for (const double scale : {1.0, 1.25, 0.0, 1.5, 2.0, 3.0}) {
    SCOPED_TRACE(scale);
    desk.SetScale(scale);
    LoadMenuIcons(resources);
    const bool twice = scale >= 1.5;
    for (int slot = 0; slot < 8; ++slot) {
      const headless::Image* image = Slot(slot);
      ASSERT_NE(image, nullptr);
      EXPECT_EQ(FileOf(image), std::string(slot < 4 ? "" : "inv_") + "app_icon" +
                                   designs[slot % 4] + (twice ? "x2" : "") + ".png");
      EXPECT_EQ(image->width, twice ? 36 : 18);
      EXPECT_EQ(image->pointWidth * 100 + image->pointHeight, 1818.0) << "18 points";
    }
    const headless::Image* application = Slot(ApplicationIconImage);
    EXPECT_EQ(FileOf(application), twice ? "fancy_app_iconx2.png" : "fancy_app_icon.png");
    EXPECT_EQ(application->width * 1000 + application->height, 128128) << "resized to 128";
    EXPECT_EQ(application->pointWidth, scale >= 2 ? 64.0 : 128.0);
  }
}

TEST_F(MenuTest, AMissingOrUnreadableFileLeavesOnlyItsSlotEmpty) {
  ScratchFolder partial;
  for (const char* name :
       {"app_icon1.png", "app_icon3.png", "fancy_app_icon.png", "symbol_blank.png"}) {
    fs::copy_file(resources + name, partial.Path() + name);
  }
  partial.WriteFile("app_icon4.png", "not a picture");
  LoadMenuIcons(partial.Path());
  for (std::int64_t slot = 0; slot <= ApplicationIconImage; ++slot) {
    EXPECT_EQ(ImageExists(slot), slot == 1 || slot == 2 || slot == ApplicationIconImage) << slot;
  }
  void* loaded = LoadIconImage(20, resources + "app_icon1.png");
  EXPECT_TRUE(loaded != nullptr && loaded == ImageHandle(20));
  EXPECT_TRUE(!LoadIconImage(20, resources + "none.png") && !ImageExists(20)) << "emptied";
  resources = partial.Path();
  Build();
  EXPECT_EQ(FileOf(Item(1).image), "symbol_blank.png") << "a missing symbol leaves a blank";
}

TEST_F(MenuTest, AFirstStartShowsEveryItemWithItsPictureAndQuitRemovesTheMenu) {
  const TemporaryHome home;
  desk.SetThemeIcons({"edit-cut"});
  std::string layout;
  desk.PushSystemEvent([&] {
    ASSERT_NE(desk.Status().menu, nullptr);
    layout = Layout(*desk.Status().menu);
    EXPECT_EQ(FileOf(desk.Status().image), "app_icon1.png") << "MenuIcon 1";
    for (std::int64_t item : {1, 2, 3, 5}) EXPECT_EQ(Item(item).keyEquivalent, "") << item;
    EXPECT_EQ(Item(ItemPreferences).keyEquivalent + Item(ItemQuit).keyEquivalent, ",q");
    EXPECT_EQ(Item(ItemQuit).modifierMask, ModifierCommand);
  });
  desk.ChooseMenuItem(StatusMenu, ItemQuit);
  EXPECT_EQ(RunApplication(), 0);
  EXPECT_EQ(layout,
            "Capture Entire Screen (3 sec Timer)<symbol_display.png>|Capture "
            "Window...<symbol_window.png>|Capture Selection...<theme:edit-cut>|-|Open Capture "
            "Location...<symbol_folder.png>|-|Preferences...<symbol_blank.png>|-|More...["
            "About<symbol_blank.png>|-|Give Feedback<symbol_blank.png>|Contact "
            "Me<symbol_blank.png>|]<symbol_blank.png>|-|Quit<symbol_blank.png>|");
  EXPECT_FALSE(desk.Status().present || MenuExists(StatusMenu));
}

TEST_F(MenuTest, ItemsShowTheirShortcutsAndTimerAndNewOnesRewriteOnlyTheirItems) {
  const TemporaryHome home;
  home.WriteSettings("Timer=2\nShortKey1=⇧⌘1\nShortKey3=⌃⌥⇧3\n");
  platform.hotkeys.RefuseKey(20, HotkeyControl | HotkeyOption | HotkeyShift);
  OpenSettingsStore();
  Build();
  EXPECT_EQ(Item(1).text, "Capture Entire Screen (5 sec Timer)\tShift+Cmd+1");
  EXPECT_EQ(Item(1).keyEquivalent + Item(3).keyEquivalent, "13") << "held elsewhere, still shown";
  for (const std::int64_t index : {-1, 5}) {
    Settings.TimerIndex = index;
    Build();
    EXPECT_EQ(Item(1).text, "Capture Entire Screen\tShift+Cmd+1") << "no such countdown";
  }
  const std::string before = Layout(*desk.Status().menu);
  Settings.TimerSeconds = 10;
  for (const auto& [item, text] :
       std::map<std::int64_t, const char*>{{1, "⌘E"}, {2, "⌃O"}, {4, "⌘X"}, {5, ""}}) {
    SetCaptureItemShortcut(item, text);  // 4 is not a capture item
  }
  EXPECT_EQ(Item(1).text + "|" + Item(2).text + "|" + Item(4).text + "|" + Item(5).text,
            "Capture Entire Screen (10 sec Timer)\tCmd+E|Capture Window...\tCtrl+O|"
            "Preferences...\tCmd+,|Open Capture Location...\t");
  SetEntireScreenItemTimer(0);
  EXPECT_EQ(Item(1).text, "Capture Entire Screen\tCmd+E") << "the timer keeps the new hint";
  Settings.TimerSeconds = 0;
  SetCaptureItemShortcut(1, "⇧⌘1");
  SetCaptureItemShortcut(2, "");
  EXPECT_EQ(Layout(*desk.Status().menu), before);
  CloseSettingsStore();
}

TEST_F(MenuTest, TheIconFollowsTheAppearanceAndASettingOutside0To3ShowsTheFirstDesign) {
  Settings.MenuIcon = 2;
  Build();
  platform.host.ObserveAppearance(true);
  std::string shown;
  for (const auto& [menuIcon, dark] : {std::pair{2, true}, {2, false}, {4, true}, {-1, false}}) {
    Settings.MenuIcon = static_cast<std::int8_t>(menuIcon);
    desk.ChangeAppearance(dark);
    const std::int32_t kind = NextEvent();
    ASSERT_EQ(kind, AppearanceChangedEvent);
    EXPECT_TRUE(RunCommand(CommandForEvent(kind, 0, 0, 0)));
    shown += FileOf(desk.Status().image) + " ";
  }
  EXPECT_EQ(shown, "inv_app_icon3.png app_icon3.png inv_app_icon1.png app_icon1.png ");
  Settings.MenuIcon = 0;
  resources = "/nonexistent/";
  Build();
  EXPECT_TRUE(desk.Status().present && !desk.Status().image) << "an empty slot, no image";
}

}  // namespace
