#include <gtest/gtest.h>

#include "settings/settings_test_support.h"

namespace {

namespace fs = std::filesystem;

using LoadingSettings = SettingsFilesTest;

// A start over a settings file, then keys written and loaded again one at a time; every invalid
// value is kept but derives nothing, so the derived values stay what they were.
TEST_F(LoadingSettings, ReadsEachKeyAndDerivesOnlyFromValuesInRange) {
  std::string garbage;
  for (std::uint32_t i = 0, state = 12345; i < 4096; ++i) {
    state = state * 1103515245u + 12345u;
    garbage += static_cast<char>(state >> 24);
  }
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
      {"garbage", garbage, {}, missing},
      {"cut mid-line",
       "[General]\nTimer=4\nSoundOn=0\nMenuIcon=3\nDirPa",
       {},
       {{"TimerSeconds", "15"}, {"Words", " -x -o"}, {"MenuIcon", "3"}, {"DirPath", ""}}},
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
      {"wrong types",
       "[General]\nTimer=abc\nFileFormat=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x10)\nSoundOn=1.5\n"
       "ShadowOn=99999999999999999999999\nMenuIcon=@ByteArray(\\x2)\n"
       "ShortKey1=@ByteArray(\\xe2\\x8c\\x98)\nShortKey2=42\nDirPath=/srv/a,b/\n"
       "DisplayPath=@Rect(0 0 1 1)\n",
       {},
       {{"TimerSeconds", "0"},
        {"Format", "-t png .png"},
        {"Words", " -x -o"},
        {"MenuIcon", "0"},
        // An unquoted comma makes a list, which is not a text.
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

}  // namespace
