#include <QSettings>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/startup.h"
#include "platform/command_numbers.h"
#include "platform/toolkit.h"
#include "prefs/login_agent.h"
#include "prefs/preferences_window.h"
#include "prefs/save_folder.h"
#include "program/program_fixture.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

// Runs a program to its end; its exit status, or -1.
int RunToEnd(const std::vector<std::string>& words) {
  const pid_t child = fork();
  if (child == 0) {
    std::vector<char*> argv;
    for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(ProgramTest, TheFolderChooserTakesOnlyFoldersUnderTheUsersFolder) {
  const std::string users = temporary.root.string();
  ASSERT_EQ(UsersFolder(), users) << "the folder that holds the home folder";
  const std::string pictures = temporary.home.string() + "/Pictures/";
  fs::create_directories(pictures);
  struct Case {
    std::string choice;  // "" cancels
    bool folderKnown;
    std::string alert;  // the start of the warning shown, "" for none
    std::string storedFolder;
  };
  const std::string documents = temporary.home.string() + "/Documents/";
  const Case cases[] = {
      {pictures, true, "", pictures},
      {"/opt/elsewhere/", true, "You must select a Folder located under the " + users, documents},
      {"", true, "", documents},
      {"", false,
       "You must select a valid Folder -- one that is under the " +
           users.substr(0, users.size() - 1) + " directory.",
       documents},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.choice.empty() ? "cancel" : c.choice);
    Start("DirPath=" + documents + "\n");
    OpenPreferences();
    if (!c.folderKnown) Settings.LastSavePath.clear();
    if (!c.choice.empty()) platform.requesters.QueueFolderChoice(c.choice);
    const std::size_t alerts = platform.requesters.Alerts().size();
    platform.toolkit.ClickGadget(GadgetSelectFolder);
    Settle();
    EXPECT_EQ(platform.requesters.FolderRequests().back().title, "Please choose a Folder.");
    EXPECT_EQ(platform.requesters.FolderRequests().back().startFolder + "/", users);
    if (c.alert.empty()) {
      EXPECT_EQ(platform.requesters.Alerts().size(), alerts);
    } else {
      ASSERT_EQ(platform.requesters.Alerts().size(), alerts + 1);
      EXPECT_EQ(platform.requesters.Alerts().back().text.substr(0, c.alert.size()), c.alert);
    }
    EXPECT_EQ(Stored("DirPath"), c.storedFolder);
    CloseSettingsStore();
  }
  EXPECT_EQ(Stored("DisplayPath"), "Documents");
  EXPECT_EQ(Settings.DirPath, documents) << "a cancelled choice keeps the folder in use";
}

TEST_F(ProgramTest, AChosenFolderIsShownAndStored) {
  Start();
  OpenPreferences();
  const std::string pictures = temporary.home.string() + "/Pictures/";
  platform.requesters.QueueFolderChoice(temporary.home.string() + "/Pictures");
  platform.toolkit.ClickGadget(GadgetSelectFolder);
  Settle();
  EXPECT_EQ(Stored("DirPath"), pictures);
  EXPECT_EQ(Stored("DisplayPath"), "Pictures");
  EXPECT_EQ(Gadget(GadgetSaveLocation).items.front(), "Pictures");
  EXPECT_EQ(Gadget(GadgetSaveLocation).toolTip, "[Pictures] = " + pictures);
  EXPECT_EQ(Settings.LastSavePath, pictures);
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
  EXPECT_EQ(RunToEnd({"desktop-file-validate", entry}), 0);

  platform.toolkit.ClickGadget(GadgetLogin);
  Settle();
  EXPECT_EQ(Stored("Login"), "0");
  EXPECT_FALSE(fs::exists(entry));
  EXPECT_TRUE(ApplyLoginAgent(false)) << "an entry already gone is no failure";
}

TEST_F(ProgramTest, AnEntryThatCannotBeWrittenLeavesTheBoxAndSettingOff) {
  Start();
  OpenPreferences();
  // A file where the autostart folder should be: no permission bits that root would ignore.
  WriteWholeFile(temporary.config.string() + "/autostart", "not a folder");
  platform.toolkit.ClickGadget(GadgetLogin);
  Settle();
  EXPECT_EQ(Gadget(GadgetLogin).state, 0);
  EXPECT_EQ(Stored("Login"), "0");
  EXPECT_EQ(Settings.Login, 0);
}

// Starts the entry of a program in an awkwardly named folder the way a session would, with
// `launcher`, and answers whether the right program ran.
bool StartedBySession(const std::string& launcher, const std::string& folderName) {
  ScratchFolder scratch;
  const std::string record = scratch.Path() + "started";
  scratch.MakeFolder(folderName);
  const std::string program = scratch.WriteFile(
      folderName + "/vantorshot", "#!/bin/sh\necho \"$0\" > '" + record + "'\n", 0755);
  const std::optional<std::string> text = AutostartEntryText(program);
  if (!text) return false;
  const std::string entry = scratch.WriteFile("vantorshot.desktop", *text);
  EXPECT_EQ(RunToEnd({"desktop-file-validate", entry}), 0);
  const std::vector<std::string> start = launcher == "gio"
                                             ? std::vector<std::string>{"gio", "launch", entry}
                                             : std::vector<std::string>{launcher, entry};
  EXPECT_EQ(RunToEnd(start), 0);
  for (int tries = 0; tries < 50 && ReadWholeFile(record).empty(); ++tries) usleep(100000);
  return ReadWholeFile(record) == program + "\n";
}

TEST(LoginEntry, TheSessionStartsTheProgramFromAnAwkwardlyNamedFolder) {
  EXPECT_TRUE(StartedBySession("dex", "with space and 'quote'"));
  // GLib reads the quoting rules whole; dex knows no escapes inside quotes.
  EXPECT_TRUE(StartedBySession("gio", "with \"double quotes\" $HOME and `ticks`"));
  // Per the rules a percent sign is doubled and a backslash written four times.
  EXPECT_NE(
      AutostartEntryText("/opt/100% back\\slash/x")->find(R"(Exec="/opt/100%% back\\\\slash/x")"),
      std::string::npos);
  EXPECT_FALSE(AutostartEntryText("/opt/two\nlines/vantorshot")) << "a line break cannot be kept";
  EXPECT_FALSE(AutostartEntryText("/opt/\xff/vantorshot")) << "not UTF-8";
}

TEST(QuitWhileOpen, StoresNoneOfTheShortcutFields) {
  TemporaryHome temporary;
  temporary.WriteSettings("ShortKey3=⌥⌘S\n");
  headless::Platform platform;
  platform.toolkit.ChooseMenuItem(0, ItemPreferences);
  platform.toolkit.PushSystemEvent([&] {
    ASSERT_TRUE(WindowExists(PreferencesWindow));
    SetGadgetState(FirstShortcutField + 2, 0);
  });
  platform.toolkit.ChooseMenuItem(0, ItemQuit);
  EXPECT_EQ(RunApplication(), 0);
  const QSettings stored(QString::fromStdString(temporary.SettingsFile().string()),
                         QSettings::IniFormat);
  EXPECT_EQ(stored.value("ShortKey3").toString().toStdString(), "⌥⌘S");
  EXPECT_EQ(Settings.ShortKey3, "⌥⌘S");
}

}  // namespace
