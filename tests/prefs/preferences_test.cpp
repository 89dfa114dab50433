#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/startup.h"
#include "platform/key_codes.h"
#include "prefs/login_agent.h"
#include "prefs/save_folder.h"
#include "program/program_fixture.h"

namespace {

namespace fs = std::filesystem;
constexpr std::uint32_t ControlOptionShift = HotkeyControl | HotkeyOption | HotkeyShift;

TEST_F(ProgramTest, OpensOnTheStoredValuesWithTheEnableRules) {
  Start(
      "FileFormat=7\nMenuIcon=4\nClipboardOn=1\nTimer=2\nSoundOn=0\nShadowOn=2\nLogin=1\n"
      "ShortKey2=⌥⌘W\n");
  OpenPreferences();
  EXPECT_TRUE(WindowExists(PreferencesWindow));
  EXPECT_TRUE(MenuItem(ItemPreferences).disabled);
  // FileFormat 7 and MenuIcon 4 select nothing; ShadowOn 2 is neither on nor off.
  for (const auto& [gadget, state] : {std::pair{GadgetFileFormat, 0},
                                      {GadgetMenuIcon, 0},
                                      {GadgetTimer, 2},
                                      {GadgetSound, 0},
                                      {GadgetShadow, 0},
                                      {GadgetLogin, 1}}) {
    EXPECT_EQ(Gadget(gadget).state, state) << gadget;
  }
  EXPECT_EQ(Gadget(GadgetMenuIcon).itemImages.size(), 4u);
  EXPECT_EQ(Gadget(FirstShortcutField + 1).text, "⌥⌘W");
  EXPECT_EQ(Gadget(FirstShortcutField).placeholder, "add shortcut");
  EXPECT_EQ(Gadget(GadgetSaveLocation).items, std::vector<std::string>{"Documents"});
  EXPECT_EQ(Gadget(35).toolTip.substr(0, 34), "Shortcuts with up to four modifier");
  const std::int64_t followers[] = {GadgetFileFormat, GadgetSaveLocation, GadgetSelectFolder,
                                    GadgetPreview};
  for (std::int64_t gadget : followers) EXPECT_FALSE(Enabled(gadget)) << gadget;
  EXPECT_TRUE(Enabled(GadgetClipboard));
  platform.toolkit.ClickGadget(GadgetClipboard);
  Settle();
  for (std::int64_t gadget : followers) EXPECT_TRUE(Enabled(gadget)) << gadget;
  platform.toolkit.PressCloseButton(PreferencesWindow);
  Settle();

  Start("PreviewOn=1\n");
  OpenPreferences();
  EXPECT_FALSE(Enabled(GadgetClipboard)) << "the viewer disables the clipboard box instead";
  EXPECT_TRUE(Enabled(GadgetPreview));
  EXPECT_FALSE(Enabled(GadgetFileFormat));
}

TEST_F(ProgramTest, EachChangeIsInTheFileAtOnceAndTakesEffect) {
  Start("ShortKey1=⌃⌥⇧1\nShortKey4=⌃⌥⇧L\n");
  OpenPreferences();
  struct Case {
    std::int64_t gadget;
    int item;  // -1 for a click
    const char* key;
    const char* stored;
    std::string SettingsRecord::*derived;
    const char* word;
    bool noFolder = false;  // captures go to the clipboard or the viewer: no folder to open
  };
  const Case cases[] = {
      {GadgetFileFormat, 1, "FileFormat", "1", &SettingsRecord::FormatOption, "-t jpg"},
      {GadgetFileFormat, 4, "FileFormat", "4", &SettingsRecord::FileExtension, ".pdf"},
      {GadgetSound, -1, "SoundOn", "0", &SettingsRecord::SoundOption, " -x"},
      {GadgetShadow, -1, "ShadowOn", "0", &SettingsRecord::ShadowOption, " -o"},
      {GadgetPointer, -1, "MouseOn", "1", &SettingsRecord::PointerOption, " -C"},
      {GadgetPointer, -1, "MouseOn", "0", &SettingsRecord::PointerOption, ""},
      {GadgetClipboard, -1, "ClipboardOn", "1", &SettingsRecord::ClipboardOption, " -c", true},
      {GadgetClipboard, -1, "ClipboardOn", "0", &SettingsRecord::ClipboardOption, ""},
      {GadgetPreview, -1, "PreviewOn", "1", &SettingsRecord::PreviewOption, " -P", true},
      {GadgetPreview, -1, "PreviewOn", "0", &SettingsRecord::PreviewOption, ""},
      {GadgetSaveLocation, 0, "FileLocation", "0", nullptr, ""},
      {GadgetMenuIcon, 2, "MenuIcon", "2", nullptr, ""},
      {GadgetTimer, 3, "Timer", "3", nullptr, ""},
      {GadgetTimer, 0, "Timer", "0", nullptr, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " " + c.stored);
    if (c.item < 0) {
      platform.toolkit.ClickGadget(c.gadget);
    } else {
      platform.toolkit.SelectGadgetItem(c.gadget, c.item);
    }
    Settle();
    EXPECT_EQ(Stored(c.key), c.stored);
    if (c.derived != nullptr) {
      EXPECT_EQ(Settings.*c.derived, c.word);
    }
    EXPECT_EQ(MenuItem(ItemOpenCaptureLocation).disabled, c.noFolder);
    EXPECT_EQ(Registered(37, ControlOptionShift), !c.noFolder) << "the hot key that opens it";
    if (c.gadget == GadgetTimer) {
      EXPECT_EQ(MenuItem(ItemCaptureEntireScreen).text,
                c.item ? "Capture Entire Screen (10 sec Timer)\tCtrl+Alt+Shift+1"
                       : "Capture Entire Screen\tCtrl+Alt+Shift+1");
    }
  }
  EXPECT_EQ(Gadget(GadgetSound).state, 0) << "the box shows the new value";
  EXPECT_EQ(platform.toolkit.Status().image, ImageHandle(FirstLightIconImage + 2));
  EXPECT_EQ(Settings.TimerSeconds, 0);
}

TEST_F(ProgramTest, ShortcutsAreRecordedWhileTypedAndTakeEffectOnClosing) {
  Start("ShortKey1=⌃⌥⇧1\nShortKey2=⌥⌘W\n");
  OpenPreferences();
  ASSERT_TRUE(Registered(13, HotkeyOption | HotkeyCommand));
  platform.toolkit.FocusGadgetByUser(FirstShortcutField + 2);
  platform.hotkeys.PressKey(18, ControlOptionShift);
  platform.toolkit.HandlePendingEvents();
  EXPECT_EQ(Gadget(FirstShortcutField + 2).text, "⌃⌥⇧1") << "a hot key typed is recorded";
  EXPECT_EQ(NextEvent(0), 0) << "and not run";
  platform.toolkit.FocusGadgetByUser(GadgetFileFormat);
  platform.hotkeys.PressKey(18, ControlOptionShift);
  platform.toolkit.HandlePendingEvents();
  EXPECT_EQ(NextEvent(0), HotkeyEvent1) << "elsewhere the hot key runs its command";

  platform.toolkit.FocusGadgetByUser(FirstShortcutField + 2);
  platform.toolkit.PressKey({.modifierFlags = ModifierControl | ModifierOption | ModifierShift,
                             .keyCode = 21,
                             .characters = u"$"});
  platform.toolkit.FocusGadgetByUser(FirstShortcutField + 1);
  platform.toolkit.PressKey({.keyCode = VirtualBackspace, .characters = {CharacterBackspace}});
  Settle();
  EXPECT_EQ(Stored("ShortKey3"), "") << "typing alone stores nothing";
  EXPECT_TRUE(Registered(13, HotkeyOption | HotkeyCommand)) << "until the window closes";

  platform.toolkit.PressCloseButton(PreferencesWindow);
  Settle();
  EXPECT_FALSE(WindowExists(PreferencesWindow));
  EXPECT_FALSE(MenuItem(ItemPreferences).disabled);
  EXPECT_FALSE(ImageExists(HelpIconImage));
  EXPECT_EQ(Stored("ShortKey3"), "⌃⌥⇧4");
  EXPECT_EQ(Stored("ShortKey2"), "");
  EXPECT_TRUE(Registered(21, ControlOptionShift));
  EXPECT_FALSE(Registered(13, HotkeyOption | HotkeyCommand));
  EXPECT_EQ(MenuItem(ItemCaptureSelection).text, "Capture Selection...\tCtrl+Alt+Shift+4");
  EXPECT_EQ(MenuItem(ItemCaptureWindow).text, "Capture Window...\t");
}

TEST_F(ProgramTest, QuittingWhileOpenStoresNoneOfTheShortcutFields) {
  temporary.WriteSettings("ShortKey3=⌥⌘S\n");
  platform.toolkit.ChooseMenuItem(0, ItemPreferences);
  platform.toolkit.PushSystemEvent([&] {
    ASSERT_TRUE(WindowExists(PreferencesWindow));
    SetGadgetState(FirstShortcutField + 2, 0);
  });
  platform.toolkit.ChooseMenuItem(0, ItemQuit);
  EXPECT_EQ(RunApplication(), 0);
  EXPECT_EQ(Stored("ShortKey3"), "⌥⌘S");
  EXPECT_EQ(Settings.ShortKey3, "⌥⌘S");
}

TEST_F(ProgramTest, TheFolderChooserTakesOnlyFoldersUnderTheUsersFolder) {
  const std::string users = temporary.root.string();
  ASSERT_EQ(UsersFolder(), users) << "the folder that holds the home folder";
  const std::string pictures = temporary.home.string() + "/Pictures/";
  const std::string documents = temporary.home.string() + "/Documents/";
  fs::create_directories(pictures);
  struct Case {
    std::string choice;  // "" cancels
    bool folderKnown;
    std::string alert;  // the start of the warning shown, "" for none
    std::string folder;
  };
  const Case cases[] = {
      {temporary.home.string() + "/Pictures", true, "", pictures},
      {"/opt/elsewhere/", true, "You must select a Folder located under the " + users, documents},
      {"", true, "", documents},
      {"", false,
       "You must select a valid Folder -- one that is under the " +
           users.substr(0, users.size() - 1) + " directory.",
       documents},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.choice.empty() ? "cancel" : c.choice);
    Start();
    OpenPreferences();
    if (!c.folderKnown) Settings.LastSavePath.clear();
    if (!c.choice.empty()) platform.requesters.QueueFolderChoice(c.choice);
    const std::size_t alerts = platform.requesters.Alerts().size();
    platform.toolkit.ClickGadget(GadgetSelectFolder);
    Settle();
    EXPECT_EQ(platform.requesters.FolderRequests().back().title, "Please choose a Folder.");
    EXPECT_EQ(platform.requesters.FolderRequests().back().startFolder + "/", users);
    ASSERT_EQ(platform.requesters.Alerts().size(), alerts + (c.alert.empty() ? 0 : 1));
    if (!c.alert.empty()) {
      EXPECT_EQ(platform.requesters.Alerts().back().text.substr(0, c.alert.size()), c.alert);
    }
    const std::string shown = c.folder == pictures ? "Pictures" : "Documents";
    EXPECT_EQ(Stored("DirPath"), c.folder);
    EXPECT_EQ(Stored("DisplayPath"), shown);
    EXPECT_EQ(Settings.DirPath, c.folder);
    EXPECT_EQ(Gadget(GadgetSaveLocation).items.front(), shown);
    EXPECT_EQ(Gadget(GadgetSaveLocation).toolTip, "[" + shown + "] = " + c.folder);
    if (c.folder == pictures) {
      EXPECT_EQ(Settings.LastSavePath, pictures);
    }
    platform.toolkit.PressCloseButton(PreferencesWindow);
    Settle();
    CloseSettingsStore();
  }
}

TEST_F(ProgramTest, StartAtLoginWritesAValidEntryAndRemovesIt) {
  Start();
  OpenPreferences();
  const std::string entry = AutostartEntryPath();
  ASSERT_EQ(entry, temporary.config.string() + "/autostart/vantorshot.desktop");
  platform.toolkit.ClickGadget(GadgetLogin);
  Settle();
  EXPECT_EQ(Stored("Login"), "1");
  ASSERT_TRUE(fs::exists(entry)) << "the autostart folder is made when missing";
  EXPECT_EQ(ExitStatus("desktop-file-validate " + entry), 0);
  platform.toolkit.ClickGadget(GadgetLogin);
  Settle();
  EXPECT_EQ(Stored("Login"), "0");
  EXPECT_FALSE(fs::exists(entry));
  EXPECT_TRUE(ApplyLoginAgent(false)) << "an entry already gone is no failure";

  // A file where the autostart folder should be: no permission bits that root would ignore.
  fs::remove(temporary.config / "autostart");
  WriteWholeFile(temporary.config.string() + "/autostart", "not a folder");
  platform.toolkit.ClickGadget(GadgetLogin);
  Settle();
  EXPECT_EQ(Gadget(GadgetLogin).state, 0);
  EXPECT_EQ(Stored("Login"), "0");
  EXPECT_EQ(Settings.Login, 0);
}

TEST(LoginEntry, TheSessionStartsTheProgramFromAnAwkwardlyNamedFolder) {
  // GLib reads the quoting rules whole; dex knows no escapes inside quotes.
  for (const auto& [launcher, folder] :
       {std::pair{"dex", "with space and 'quote'"},
        {"gio launch", "with \"double quotes\" $HOME and `ticks`"}}) {
    SCOPED_TRACE(launcher);
    ScratchFolder scratch;
    const std::string record = scratch.Path() + "started";
    scratch.MakeFolder(folder);
    const std::string program = scratch.WriteFile(
        std::string(folder) + "/vantorshot", "#!/bin/sh\necho \"$0\" > '" + record + "'\n", 0755);
    const std::optional<std::string> text = AutostartEntryText(program);
    ASSERT_TRUE(text);
    const std::string entry = scratch.WriteFile("vantorshot.desktop", *text);
    EXPECT_EQ(ExitStatus("desktop-file-validate " + entry), 0);
    EXPECT_EQ(ExitStatus(std::string(launcher) + " " + entry), 0);
    for (int tries = 0; tries < 50 && ReadWholeFile(record).empty(); ++tries) usleep(100000);
    EXPECT_EQ(ReadWholeFile(record), program + "\n");
  }
  // Per the rules a percent sign is doubled and a backslash written four times.
  EXPECT_NE(
      AutostartEntryText("/opt/100% back\\slash/x")->find(R"(Exec="/opt/100%% back\\\\slash/x")"),
      std::string::npos);
  EXPECT_FALSE(AutostartEntryText("/opt/two\nlines/vantorshot")) << "a line break cannot be kept";
  EXPECT_FALSE(AutostartEntryText("/opt/\xff/vantorshot")) << "not UTF-8";
}

}  // namespace
