#include <gtest/gtest.h>
#include <sys/inotify.h>

#include <cstring>

#include "platform/files.h"
#include "settings/setting_keys.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "settings/settings_test_support.h"

namespace {

namespace fs = std::filesystem;

// Counts the times a complete settings file appears in its folder: each flush puts a whole new
// file in place under the final name.
class FlushCounter {
 public:
  explicit FlushCounter(const fs::path& folder)
      : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    fs::create_directories(folder);
    inotify_add_watch(fd_.get(), folder.c_str(), IN_CREATE | IN_MOVED_TO);
  }

  int Count(const std::string& name) {
    alignas(inotify_event) char buffer[8192];
    for (ssize_t got; (got = read(fd_.get(), buffer, sizeof buffer)) > 0;) {
      for (ssize_t at = 0; at < got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        if (event->len > 0 && name == event->name) ++count_;
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    return count_;
  }

 private:
  FileDescriptor fd_;
  int count_ = 0;
};

using FirstRun = SettingsFilesTest;

TEST_F(FirstRun, WritesExactlyTheSixteenKeysInOneFlush) {
  FlushCounter flushes(SettingsFile().parent_path());
  OpenSettingsStore();
  EXPECT_EQ(flushes.Count("VantorShot.ini"), 1);

  const std::string documents = temporary.home.string() + "/Documents/";
  const std::map<std::string, std::string> expected = {
      {"Timer", "1"},       {"FileFormat", "0"},  {"FileLocation", "0"}, {"MenuIcon", "1"},
      {"SoundOn", "1"},     {"ShadowOn", "1"},    {"MouseOn", "0"},      {"ClipboardOn", "0"},
      {"PreviewOn", "0"},   {"Login", "0"},       {"ShortKey1", ""},     {"ShortKey2", ""},
      {"ShortKey3", ""},    {"ShortKey4", ""},    {"DirPath", documents}, {"DisplayPath", "Documents"},
  };
  const std::string text = ReadWholeFile(SettingsFile());
  EXPECT_EQ(GeneralSection(text), expected) << text;
  EXPECT_EQ(expected.size(), SettingKeys.size());
  EXPECT_FALSE(fs::exists(temporary.home / "Documents"));
}

TEST_F(FirstRun, FillsTheRecordButNotTheCaptureFolder) {
  Settings.DirPath = "/before/";
  Settings.DisplayPath = "before";
  OpenSettingsStore();

  EXPECT_EQ(Settings.TimerIndex, 1);
  EXPECT_EQ(Settings.TimerSeconds, 3);
  EXPECT_EQ(Settings.FormatIndex, 0);
  EXPECT_EQ(Settings.FormatOption, "-t png");
  EXPECT_EQ(Settings.FileExtension, ".png");
  EXPECT_EQ(Settings.MenuIcon, 1);
  EXPECT_EQ(Settings.SoundOn, 1);
  EXPECT_EQ(Settings.ShadowOn, 1);
  EXPECT_EQ(Settings.MouseOn, 0);
  EXPECT_EQ(Settings.ClipboardOn, 0);
  EXPECT_EQ(Settings.PreviewOn, 0);
  EXPECT_EQ(Settings.Login, 0);
  for (const std::string* option : {&Settings.SoundOption, &Settings.ShadowOption,
                                    &Settings.PointerOption, &Settings.ClipboardOption,
                                    &Settings.PreviewOption, &Settings.ShortKey1,
                                    &Settings.ShortKey4}) {
    EXPECT_EQ(*option, "");
  }
  EXPECT_EQ(Settings.LastSavePath, temporary.home.string() + "/Documents/");
  EXPECT_EQ(Settings.DirPath, "/before/");
  EXPECT_EQ(Settings.DisplayPath, "before");
}

TEST_F(FirstRun, DocumentsComeFromTheDesktopAndTheDefaultConfigFolderIsCreated) {
  temporary.configVariable.Unset();
  WriteWholeFile(temporary.home / ".config" / "user-dirs.dirs",
                 "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
  OpenSettingsStore();

  const fs::path file = temporary.home / ".config" / "vantorshot" / "VantorShot.ini";
  ASSERT_EQ(PreferencesFilePath(), file.string());
  const auto keys = GeneralSection(ReadWholeFile(file));
  EXPECT_EQ(keys.at("DirPath"), temporary.home.string() + "/Dokumente/");
  EXPECT_EQ(keys.at("DisplayPath"), "Documents");
}

TEST_F(FirstRun, ASecondStartLoadsWhatTheFirstWrote) {
  OpenSettingsStore();
  CloseSettingsStore();
  const std::string before = ReadWholeFile(SettingsFile());

  const auto record = ShowRecordInProbe();
  const std::string documents = temporary.home.string() + "/Documents/";
  EXPECT_EQ(record.at("TimerIndex"), "1");
  EXPECT_EQ(record.at("TimerSeconds"), "3");
  EXPECT_EQ(record.at("FormatOption"), "-t png");
  EXPECT_EQ(record.at("FileExtension"), ".png");
  EXPECT_EQ(record.at("MenuIcon"), "1");
  EXPECT_EQ(record.at("SoundOn"), "1");
  EXPECT_EQ(record.at("ShadowOn"), "1");
  EXPECT_EQ(record.at("SoundOption"), "");
  EXPECT_EQ(record.at("ShadowOption"), "");
  EXPECT_EQ(record.at("DirPath"), documents);
  EXPECT_EQ(record.at("DisplayPath"), "Documents");
  EXPECT_EQ(record.at("LastSavePath"), documents);
  EXPECT_EQ(ReadWholeFile(SettingsFile()), before);
}

TEST_F(FirstRun, AFolderInPlaceOfTheFileCountsAsExistingSettings) {
  fs::create_directories(SettingsFile());
  OpenSettingsStore();

  // Loaded, not first run: everything reads as missing.
  EXPECT_EQ(Settings.TimerSeconds, 0);
  EXPECT_EQ(Settings.SoundOption, " -x");
  EXPECT_EQ(Settings.ShadowOption, " -o");
  EXPECT_EQ(Settings.FormatOption, "-t png");
  EXPECT_EQ(Settings.LastSavePath, "");

  WriteSetting("Timer", 2);
  EXPECT_TRUE(fs::is_directory(SettingsFile()));
}

TEST_F(FirstRun, AnImpossibleConfigFolderFailsSilentlyAndTheRunGoesOn) {
  WriteWholeFile(temporary.root / "plain-file", "not a folder");
  temporary.configVariable.Set((temporary.root / "plain-file" / "config").string());

  OpenSettingsStore();
  EXPECT_EQ(Settings.TimerSeconds, 3);
  WriteSetting("ShortKey1", "⌘1");
  WriteSetting("Timer", 4);
  // The writes live on in memory for the rest of the run, as the Preferences window reloads.
  EXPECT_EQ(ReadStringSetting("ShortKey1"), "⌘1");
  LoadSettings();
  EXPECT_EQ(Settings.TimerSeconds, 15);
  EXPECT_EQ(PathSize(PreferencesFilePath()), PathCannotBeExamined);
}

TEST_F(FirstRun, AReadOnlyConfigFolderKeepsTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "permission bits do not bind the superuser";
  OpenSettingsStore();
  CloseSettingsStore();
  const std::string before = ReadWholeFile(SettingsFile());
  fs::permissions(SettingsFile().parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
  fs::permissions(SettingsFile(), fs::perms::owner_read);

  OpenSettingsStore();
  WriteSetting("Timer", 4);
  WriteSetting("DirPath", "/elsewhere/");
  EXPECT_EQ(ReadWholeFile(SettingsFile()), before);
}

TEST_F(FirstRun, LaterWritesReachTheFileOnlyWhenSynchronised) {
  OpenSettingsStore();
  FlushCounter flushes(SettingsFile().parent_path());

  WriteSetting("DirPath", "/srv/shots/", Flush::Later);
  WriteSetting("DisplayPath", "shots", Flush::Later);
  EXPECT_EQ(flushes.Count("VantorShot.ini"), 0);
  EXPECT_EQ(GeneralSection(ReadWholeFile(SettingsFile())).at("DirPath"),
            temporary.home.string() + "/Documents/");
  SynchronizeSettings();
  EXPECT_EQ(flushes.Count("VantorShot.ini"), 1);

  WriteSetting("SoundOn", 0);
  WriteSetting("ShadowOn", 0);
  EXPECT_EQ(flushes.Count("VantorShot.ini"), 3);
  const auto keys = GeneralSection(ReadWholeFile(SettingsFile()));
  EXPECT_EQ(keys.at("DirPath"), "/srv/shots/");
  EXPECT_EQ(keys.at("DisplayPath"), "shots");
  EXPECT_EQ(keys.at("SoundOn"), "0");
  EXPECT_EQ(keys.at("ShadowOn"), "0");
}

}  // namespace
