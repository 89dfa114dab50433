#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <map>

#include "platform/files.h"
#include "platform/user_defaults.h"
#include "settings/setting_keys.h"
#include "settings/settings_test_support.h"
#include "support/support.h"

namespace {

namespace fs = std::filesystem;

using FirstRun = SettingsFilesTest;

TEST_F(FirstRun, WritesEveryKeyAndASecondStartLoadsThem) {
  // The desktop names the Documents folder; the configuration folder is the default one.
  temporary.configVariable.Unset();
  temporary.config = temporary.home / ".config";
  WriteWholeFile(temporary.config / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
  documents = temporary.home.string() + "/Dokumente/";
  EXPECT_EQ(PreferencesFilePath(), SettingsFile().string());
  Settings.DirPath = "/before/";
  Settings.DisplayPath = "before";
  OpenSettingsStore();
  // What a first run stores for every key, as the file and a later start read it.
  const Fields stored = {{"Timer", "1"},         {"FileFormat", "0"},
                         {"FileLocation", "0"},  {"MenuIcon", "1"},
                         {"SoundOn", "1"},       {"ShadowOn", "1"},
                         {"MouseOn", "0"},       {"ClipboardOn", "0"},
                         {"PreviewOn", "0"},     {"Login", "0"},
                         {"ShortKey1", ""},      {"ShortKey2", ""},
                         {"ShortKey3", ""},      {"ShortKey4", ""},
                         {"DirPath", documents}, {"DisplayPath", "Documents"}};
  const std::string written = ReadWholeFile(SettingsFile());
  EXPECT_EQ(GeneralSection(written), stored) << written;
  EXPECT_FALSE(fs::exists(documents)) << "nothing is created";
  // A first start counts three seconds and saves PNG files with no option words.
  Fields record = stored;
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

TEST_F(FirstRun, AFolderInPlaceOfTheFileGivesFirstRunValuesAndABadFolderFailsSilently) {
  fs::create_directories(SettingsFile());
  OpenSettingsStore();
  EXPECT_EQ(Settings.TimerSeconds, 3) << "nothing to read: a first run in memory";
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
  ASSERT_NE(nobody, nullptr);
  for (const fs::path& folder : {temporary.root, temporary.home, temporary.config}) {
    fs::permissions(folder, fs::perms{0755});
  }
  fs::permissions(SettingsFile().parent_path(), fs::perms{0555});
  fs::permissions(SettingsFile(), fs::perms{0444});
  const pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 &&
        (setgroups(0, nullptr) || setgid(nobody->pw_gid) || setuid(nobody->pw_uid))) {
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
  WriteSetting("DirPath", "/srv/shots/", Flush::Later);
  WriteSetting("DisplayPath", "shots", Flush::Later);
  EXPECT_EQ(GeneralSection(ReadWholeFile(SettingsFile())).at("DirPath"), documents);
  SynchronizeSettings();
  EXPECT_EQ(GeneralSection(ReadWholeFile(SettingsFile())).at("DisplayPath"), "shots");
  WriteSetting("SoundOn", 0);
  EXPECT_EQ(GeneralSection(ReadWholeFile(SettingsFile())).at("SoundOn"), "0");
}

// Only a settings file of our own is rewritten, through a link too (which stays); anything else
// keeps its lines and its owner, and the change lives on in memory.
TEST_F(FirstRun, WritesOnlyThroughToAFileOfOurOwn) {
  if (geteuid() != 0) GTEST_SKIP() << "only the superuser can make a file of another user";
  const char* settings = "[General]\nTimer=2\n";
  const struct {
    const char* name;
    const char* before;  // the file the settings' name leads to; nullptr for none
    uid_t owner;
    bool link;
    const char* after;
  } cases[] = {{"a link to our settings", settings, 0, true, "[General]\nTimer=4\n"},
               {"a link to a file of another user", settings, 65534, true, settings},
               {"a file of another user", settings, 65534, false, settings},
               {"a link to notes of ours", "# notes\nalias ll\n", 0, true, "# notes\nalias ll\n"},
               {"a link to nothing", nullptr, 0, true, nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TemporaryHome home;
    const fs::path target = c.link ? home.root / "elsewhere.ini" : home.SettingsFile();
    fs::create_directories(home.SettingsFile().parent_path());
    if (c.before) WriteWholeFile(target, c.before);
    ASSERT_EQ(c.before ? chown(target.c_str(), c.owner, c.owner) : 0, 0);
    if (c.link) fs::create_symlink(target, home.SettingsFile());
    OpenSettingsStore();
    WriteSetting("Timer", 4);
    EXPECT_EQ(ReadStringSetting("Timer"), "4");
    CloseSettingsStore();
    EXPECT_EQ(fs::is_symlink(home.SettingsFile()), c.link);
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info) == 0, c.after != nullptr);
    if (c.after) {
      EXPECT_EQ(info.st_uid, c.owner);
      EXPECT_EQ(ReadWholeFile(target), c.after);
    }
  }
}

using LoadingSettings = SettingsFilesTest;

// A start over a settings file, then keys written and loaded again one at a time; every invalid
// value is kept but derives nothing, so the derived values stay what they were.
TEST_F(LoadingSettings, ReadsEachKeyAndDerivesOnlyFromValuesInRange) {
  const Fields missing = {{"TimerSeconds", "0"}, {"Format", "-t png .png"}, {"Words", " -x -o"},
                          {"MenuIcon", "0"},     {"ShortKey1", ""},         {"DirPath", ""},
                          {"LastSavePath", ""}};
  const struct {
    const char* name;
    std::string file;
    std::vector<std::pair<const char*, std::int64_t>> later;
    Fields expected;
  } cases[] = {
      {"no keys", "", {}, missing},
      {"format's low byte", "[General]\nFileFormat=260\n", {}, {{"Format", "-t pdf .pdf"}}},
      {"format kept",
       "[General]\nFileFormat=1\n",
       {{"FileFormat", 5}, {"FileFormat", -1}, {"FileFormat", 255}, {"FileFormat", 133}},
       {{"FileFormat", "-123"}, {"Format", "-t jpg .jpeg"}}},
      {"timer", "[General]\nTimer=2\n", {}, {{"Timer", "2"}, {"TimerSeconds", "5"}}},
      {"timer kept, not cut to a byte",
       "[General]\nTimer=4\n",
       {{"Timer", -1}, {"Timer", 5}, {"Timer", 260}},
       {{"Timer", "260"}, {"TimerSeconds", "15"}}},
      {"switches",
       "[General]\nSoundOn=0\nShadowOn=1\nMouseOn=1\nClipboardOn=0\nPreviewOn=1\n",
       {},
       {{"Words", " -x -C -P"}}},
      {"switches kept",
       "[General]\nSoundOn=0\nShadowOn=1\nMouseOn=1\nClipboardOn=0\nPreviewOn=1\n",
       {{"SoundOn", 1}, {"ClipboardOn", 1}, {"SoundOn", 2}, {"ShadowOn", -1}, {"MouseOn", 7}},
       {{"SoundOn", "2"}, {"ShadowOn", "-1"}, {"MouseOn", "7"}, {"Words", " -C -c -P"}}},
      {"switch's low byte", "[General]\nSoundOn=256\nShadowOn=1\n", {}, {{"Words", " -x"}}},
      {"wrong types; an unquoted comma makes a list, which is not a text",
       "[General]\nTimer=abc\nFileFormat=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x10)\nSoundOn=1.5\n"
       "ShadowOn=99999999999999999999999\nMenuIcon=@ByteArray(\\x2)\n"
       "ShortKey1=@ByteArray(\\xe2\\x8c\\x98)\nShortKey2=42\nDirPath=/srv/a,b/\n"
       "DisplayPath=@Rect(0 0 1 1)\n",
       {},
       {{"TimerSeconds", "0"},
        {"Format", "-t png .png"},
        {"Words", " -x -o"},
        {"MenuIcon", "0"},
        {"ShortKey1", ""},
        {"ShortKey2", "42"},
        {"DirPath", ""},
        {"DisplayPath", ""}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // A file of its own: one rewritten in the same clock tick at the same size reads as cached.
    const TemporaryHome home;
    Settings = SettingsRecord{};
    WriteWholeFile(home.SettingsFile(), c.file);
    const fs::file_time_type written = fs::last_write_time(home.SettingsFile());
    OpenSettingsStore();
    for (const auto& [key, value] : c.later) {
      WriteSetting(key, value);
      LoadSettings();
    }
    const Fields record = RecordFields();
    for (const auto& [name, value] : c.expected) EXPECT_EQ(record.at(name), value) << name;
    CloseSettingsStore();
    if (c.later.empty()) {
      EXPECT_EQ(ReadWholeFile(home.SettingsFile()), c.file) << "loading writes nothing back";
      EXPECT_EQ(fs::last_write_time(home.SettingsFile()), written);
    }
  }
}

TEST_F(LoadingSettings, ASaveLocationOtherThanTheFirstLeavesTheCaptureFolderAlone) {
  Settings.DirPath = "/kept/";
  Settings.DisplayPath = "kept";
  Settings.LastSavePath = "/last/";
  WriteWholeFile(SettingsFile(),
                 "[General]\nFileLocation=2\nDirPath=/srv/shots/\nDisplayPath=shots\nTimer=3\n");
  OpenSettingsStore();
  EXPECT_EQ(Settings.DirPath + Settings.DisplayPath + Settings.LastSavePath, "/kept/kept/last/");
  EXPECT_EQ(Settings.TimerSeconds, 10);
  WriteSetting("FileLocation", 0);
  LoadSettings();
  EXPECT_EQ(Settings.DirPath + Settings.DisplayPath + Settings.LastSavePath,
            "/srv/shots/shots/srv/shots/");
}

using StoredSettings = SettingsFilesTest;

TEST_F(StoredSettings, TextsReadBackExactlyInTheNextStartAndMissingOnesAreEmpty) {
  OpenSettingsStore();
  const Fields texts = {
      {"ShortKey1", "⌃⌥⇧⌘A"},
      {"ShortKey2", "⎋"},
      {"ShortKey3", "⇧⌘↩"},
      {"ShortKey4", "@Variant(\\0\\0\\0\\x7f)"},
      {"DirPath", "/home/zoë/My \"quoted\", 'odd' folder; #1 = [x] \\ tab\there/"},
      {"DisplayPath", "  line one\nline two, @ByteArray(x)  "},
  };
  for (const auto& [key, text] : texts) WriteSetting(key, text);
  EXPECT_EQ(ReadStringSetting("DirPath"), texts.at("DirPath"));
  EXPECT_EQ(ReadStringSetting("NoSuchKey"), "");
  CloseSettingsStore();
  const Fields record = RecordOfASecondStart();
  for (const auto& [key, text] : texts) EXPECT_EQ(record.at(key), text) << key;
  EXPECT_EQ(record.at("LastSavePath"), texts.at("DirPath"));
}

// Starts a writer that rewrites DirPath with `length` letters over and over, and kills it a
// while after its first write; false when it never wrote.
bool KillAWriter(std::size_t length, long nanoseconds) {
  const ProcessHandle writer = StartProbe("churn " + std::to_string(length));
  const std::string pid = ReadProcessLine(writer);
  const timespec pause{0, nanoseconds};
  nanosleep(&pause, nullptr);
  const bool killed = !pid.empty() && kill(std::stoi(pid), SIGKILL) == 0;
  WaitForProcessEnd(writer);
  return killed;
}

TEST_F(StoredSettings, KillingAWriterLeavesTheOldOrTheNewFileNeverATornOne) {
  // Long values make each write take long enough for a kill to land inside one: a writer that
  // rewrites the file in place is caught in about one round in eight.
  constexpr std::size_t length = 200000;
  OpenSettingsStore();
  WriteSetting("DirPath", std::string(length, 'a'));
  const std::string withA = ReadWholeFile(SettingsFile());
  WriteSetting("DirPath", std::string(length, 'b'));
  const std::string withB = ReadWholeFile(SettingsFile());
  CloseSettingsStore();
  ASSERT_GT(withA.size(), length);
  // An empty lock file, as a writer killed at the wrong moment leaves, holds no later writer.
  WriteWholeFile(SettingsFile().string() + ".lock", "");
  for (int round = 0; round < 40; ++round) {
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(KillAWriter(length, round * 400000L)) << "round " << round;
    // The lock is stale only after half a minute: a writer that waited for it took that long.
    ASSERT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << round;
    const std::string after = ReadWholeFile(SettingsFile());
    ASSERT_TRUE(after == withA || after == withB) << "round " << round << ": " << after.size();
  }
}

TEST(UserFolders, HomeAndConfigEndInSlashAndFallBackToTheAccountAndDotConfig) {
  const passwd* account = getpwuid(getuid());
  ASSERT_NE(account, nullptr);
  const std::string own = account->pw_dir + std::string(account->pw_dir[1] == 0 ? "" : "/");
  TemporaryHome temporary;
  EXPECT_EQ(UserDefaultsFilePath(), temporary.config.string() + "/vantorshot/VantorShot.ini");
  temporary.configVariable.Set("relative/config");
  EXPECT_EQ(ConfigFolder(), temporary.home.string() + "/.config/");
  temporary.configVariable.Unset();
  EXPECT_EQ(UserDefaultsFilePath(), temporary.home.string() + "/.config/vantorshot/VantorShot.ini");
  for (const auto& [value, folder] : {std::pair<const char*, std::string>{"/srv/ann", "/srv/ann/"},
                                      {"/srv/ann/", "/srv/ann/"},
                                      {"", own}}) {
    temporary.homeVariable.Set(value);
    EXPECT_EQ(HomeFolder(), folder) << value;
  }
  temporary.homeVariable.Unset();
  EXPECT_EQ(HomeFolder(), own);
}

TEST(UserFolders, DocumentsFollowTheLastValidLineOfTheDesktopsUserDirs) {
  TemporaryHome temporary;
  const std::string home = temporary.home.string() + "/";
  const std::pair<const char*, std::string> cases[] = {
      {"", home + "Documents/"},
      {"# desktop\nXDG_DESKTOP_DIR=\"$HOME/Bureau\"\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n",
       home + "Dokumente/"},
      {"XDG_DOCUMENTS_DIR=\"/srv/shared docs\"\n", "/srv/shared docs/"},
      {"XDG_DOCUMENTS_DIR=\"$HOME/My \\\"Papers\\\" \\$x\"\n", home + "My \"Papers\" $x/"},
      {"XDG_DOCUMENTS_DIR=\"$HOME\"\n", home},
      {"XDG_DOCUMENTS_DIR=\"/first\"\n  XDG_DOCUMENTS_DIR=\"/second\"\n", "/second/"},
      {"#XDG_DOCUMENTS_DIR=\"/commented\"\nXDG_DOCUMENTS_DIR=\"relative/docs\"\n"
       "XDG_DOCUMENTS_DIR=\"$HOMEWORK/docs\"\nXDG_DOCUMENTS_DIR=\"/unterminated\n"
       "XDG_DOCUMENTS_DIR=/unquoted\n",
       home + "Documents/"},
  };
  for (const auto& [lines, folder] : cases) {
    WriteWholeFile(temporary.config / "user-dirs.dirs", lines);
    EXPECT_EQ(DocumentsFolder(), folder) << lines;
  }
  EXPECT_FALSE(fs::exists(temporary.home / "Documents")) << "nothing is created";
}

TEST(PathSize, TellsMissingFolderAndFileSize) {
  TemporaryHome temporary;
  const fs::path file = temporary.root / "five";
  WriteWholeFile(file, "12345");
  WriteWholeFile(temporary.root / "empty", "");
  fs::create_directory_symlink(temporary.home, temporary.root / "link");
  for (const auto& [path, size] :
       std::map<fs::path, std::int64_t>{{file, 5},
                                        {temporary.root / "empty", 0},
                                        {temporary.home, PathIsFolder},
                                        {temporary.root / "link", PathIsFolder},
                                        {temporary.root / "missing", PathCannotBeExamined},
                                        {file / "below", PathCannotBeExamined},
                                        {"", PathCannotBeExamined}}) {
    EXPECT_EQ(PathSize(path.string()), size) << path;
  }
  EXPECT_TRUE(CreateFolder((temporary.root / "a/b/c").string()));
  EXPECT_TRUE(fs::is_directory(temporary.root / "a/b/c"));
  EXPECT_FALSE(CreateFolder((file / "below").string()));
  EXPECT_FALSE(CreateFolder(""));
}

TEST(FileAddress, EscapesAllButUnreservedCharactersOfTheAbsolutePath) {
  EXPECT_EQ(FileAddress("/AZaz09-._~/x/../ %ä\"#?"), "file:///AZaz09-._~/%20%25%C3%A4%22%23%3F");
  EXPECT_EQ(FileAddress("x"), "file://" + fs::current_path().string() + "/x");
}

}  // namespace
