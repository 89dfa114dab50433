#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/files.h"
#include "platform/process_fd.h"
#include "settings/setting_keys.h"
#include "settings/settings_test_support.h"

namespace {

namespace fs = std::filesystem;

// Counts the complete settings files put in place in a folder: one for each flush.
class FlushCounter {
 public:
  explicit FlushCounter(const fs::path& folder) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    fs::create_directories(folder);
    inotify_add_watch(fd_.Get(), folder.c_str(), IN_CREATE | IN_MOVED_TO);
  }
  int Count() {
    alignas(inotify_event) char buffer[8192];
    for (ssize_t got, at; (got = read(fd_.Get(), buffer, sizeof buffer)) > 0;) {
      for (at = 0; at < got; at += sizeof(inotify_event) + Event(buffer + at)->len) {
        count_ += Event(buffer + at)->len > 0 &&
                  std::string_view(Event(buffer + at)->name) == "VantorShot.ini";
      }
    }
    return count_;
  }

 private:
  static const inotify_event* Event(const char* at) {
    return reinterpret_cast<const inotify_event*>(at);
  }
  UniqueFd fd_;
  int count_ = 0;
};

class FirstRun : public SettingsFilesTest {
 protected:
  // What a first run stores for every key, as the file and a later start read it.
  Fields FirstRunValues() const {
    Fields values;
    for (const SettingKey& key : SettingKeys) {
      values[std::string(key.name)] =
          key.kind == SettingKind::Integer  ? std::to_string(key.firstRunInteger)
          : key.kind == SettingKind::Folder ? documents
                                            : std::string(key.firstRunText);
    }
    return values;
  }
};

TEST_F(FirstRun, WritesEveryKeyInOneFlushAndASecondStartLoadsThem) {
  // The desktop names the Documents folder; the configuration folder is the default one.
  temporary.configVariable.Unset();
  temporary.config = temporary.home / ".config";
  WriteWholeFile(temporary.config / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
  documents = temporary.home.string() + "/Dokumente/";
  EXPECT_EQ(PreferencesFilePath(), SettingsFile().string());
  FlushCounter flushes(SettingsFile().parent_path());
  Settings.DirPath = "/before/";
  Settings.DisplayPath = "before";
  OpenSettingsStore();
  EXPECT_EQ(flushes.Count(), 1);
  const std::string written = ReadWholeFile(SettingsFile());
  EXPECT_EQ(GeneralSection(written), FirstRunValues()) << written;
  EXPECT_FALSE(fs::exists(documents)) << "nothing is created";

  // A first start counts three seconds and saves PNG files with no option words.
  Fields record = FirstRunValues();
  record.erase("FileLocation");
  record.merge(Fields{{"TimerSeconds", "3"},
                      {"Format", "-t png .png"},
                      {"Words", ""},
                      {"LastSavePath", documents}});
  Fields inMemory = record;
  // The capture folder in memory is left to the capture engine.
  inMemory["DirPath"] = "/before/";
  inMemory["DisplayPath"] = "before";
  EXPECT_EQ(RecordFields(), inMemory);
  CloseSettingsStore();
  EXPECT_EQ(RecordOfASecondStart(), record);
  EXPECT_EQ(ReadWholeFile(SettingsFile()), written) << "loading writes nothing back";
}

TEST_F(FirstRun, AFolderInPlaceOfTheFileIsExistingSettingsAndABadFolderFailsSilently) {
  fs::create_directories(SettingsFile());
  OpenSettingsStore();
  EXPECT_EQ(RecordFields().at("TimerSeconds") + RecordFields().at("Words"), "0 -x -o")
      << "loaded, every key missing";
  WriteSetting("Timer", 2);
  EXPECT_TRUE(fs::is_directory(SettingsFile()));

  WriteWholeFile(temporary.root / "file", "a file, not a folder");
  temporary.configVariable.Set((temporary.root / "file" / "config").string());
  OpenSettingsStore();
  EXPECT_EQ(Settings.TimerSeconds, 3) << "a first run";
  WriteSetting("ShortKey1", "⌘1");
  WriteSetting("Timer", 4);
  EXPECT_EQ(ReadStringSetting("ShortKey1"), "⌘1") << "the writes live on in memory";
  LoadSettings();
  EXPECT_EQ(Settings.TimerSeconds, 15);
  EXPECT_EQ(PathSize(PreferencesFilePath()), PathCannotBeExamined);
}

TEST_F(FirstRun, AFolderTheUserCannotWriteKeepsTheOldFile) {
  OpenSettingsStore();
  CloseSettingsStore();
  const std::string before = ReadWholeFile(SettingsFile());
  // The superuser ignores permission bits: as root the writer is "nobody", who may only read.
  const passwd* nobody = getpwnam("nobody");
  ASSERT_TRUE(geteuid() != 0 || nobody != nullptr);
  const uid_t uid = nobody == nullptr ? 0 : nobody->pw_uid;
  const gid_t gid = nobody == nullptr ? 0 : nobody->pw_gid;
  for (const fs::path& folder : {temporary.root, temporary.home, temporary.config}) {
    fs::permissions(folder, fs::perms{0755});
  }
  fs::permissions(SettingsFile().parent_path(), fs::perms{0555});
  fs::permissions(SettingsFile(), fs::perms{0444});
  const pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)) {
      _exit(2);
    }
    OpenSettingsStore();
    WriteSetting("Timer", 4);
    WriteSetting("DirPath", "/elsewhere/");
    const bool inMemory = ReadStringSetting("DirPath") == "/elsewhere/";
    CloseSettingsStore();
    _exit(inMemory && geteuid() != 0 ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the writer's status " << status;
  EXPECT_EQ(ReadWholeFile(SettingsFile()), before);
}

TEST_F(FirstRun, LaterWritesReachTheFileOnlyWhenSynchronised) {
  OpenSettingsStore();
  FlushCounter flushes(SettingsFile().parent_path());
  WriteSetting("DirPath", "/srv/shots/", Flush::Later);
  WriteSetting("DisplayPath", "shots", Flush::Later);
  EXPECT_EQ(flushes.Count(), 0);
  EXPECT_EQ(GeneralSection(ReadWholeFile(SettingsFile())).at("DirPath"), documents);
  SynchronizeSettings();
  EXPECT_EQ(flushes.Count(), 1);
  WriteSetting("SoundOn", 0);
  WriteSetting("ShadowOn", 0);
  EXPECT_EQ(flushes.Count(), 3);
  const Fields keys = GeneralSection(ReadWholeFile(SettingsFile()));
  EXPECT_EQ(keys.at("DirPath") + keys.at("DisplayPath"), "/srv/shots/shots");
  EXPECT_EQ(keys.at("SoundOn") + keys.at("ShadowOn"), "00");
}

}  // namespace
