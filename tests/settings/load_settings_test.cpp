#include <gtest/gtest.h>

#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "settings/settings_test_support.h"

namespace {

namespace fs = std::filesystem;

// Starts the program over a settings file of the given content.
class LoadSettingsTest : public SettingsFilesTest {
 protected:
  void StartWith(const std::string& content) {
    content_ = content;
    WriteWholeFile(SettingsFile(), content);
    written_ = fs::last_write_time(SettingsFile());
    OpenSettingsStore();
  }

  // Loading, and closing the store after it, leave the file as it was.
  void ExpectFileUntouched() {
    CloseSettingsStore();
    EXPECT_EQ(ReadWholeFile(SettingsFile()), content_);
    EXPECT_EQ(fs::last_write_time(SettingsFile()), written_);
  }

 private:
  std::string content_;
  fs::file_time_type written_;
};

TEST_F(LoadSettingsTest, AFileWithoutKeysLoadsAsAllZeroAndEmpty) {
  Settings.FormatOption = "-t pdf";
  StartWith("");
  EXPECT_EQ(Settings.SoundOption, " -x");
  EXPECT_EQ(Settings.ShadowOption, " -o");
  EXPECT_EQ(Settings.PointerOption, "");
  EXPECT_EQ(Settings.TimerSeconds, 0);
  EXPECT_EQ(Settings.FormatOption, "-t png");
  EXPECT_EQ(Settings.FileExtension, ".png");
  EXPECT_EQ(Settings.MenuIcon, 0);
  EXPECT_EQ(Settings.DirPath, "");
  EXPECT_EQ(Settings.LastSavePath, "");
  ExpectFileUntouched();
}

TEST_F(LoadSettingsTest, FileFormatKeepsItsLowByteAndOutOfRangeChangesNothing) {
  StartWith("[General]\nFileFormat=256\n");
  EXPECT_EQ(Settings.FormatIndex, 0);
  EXPECT_EQ(Settings.FormatOption, "-t png");

  WriteSetting("FileFormat", 1);
  LoadSettings();
  EXPECT_EQ(Settings.FormatOption, "-t jpg");
  EXPECT_EQ(Settings.FileExtension, ".jpeg");

  for (const std::int64_t invalid : {5, -1, 255, 133}) {
    WriteSetting("FileFormat", invalid);
    LoadSettings();
    EXPECT_EQ(Settings.FormatIndex, static_cast<std::int8_t>(invalid));
    EXPECT_EQ(Settings.FormatOption, "-t jpg") << invalid;
    EXPECT_EQ(Settings.FileExtension, ".jpeg") << invalid;
  }
  WriteSetting("FileFormat", 260);
  LoadSettings();
  EXPECT_EQ(Settings.FormatOption, "-t pdf");
  EXPECT_EQ(Settings.FileExtension, ".pdf");
}

TEST_F(LoadSettingsTest, TimerIndexIsRangeCheckedAsAWholeNumber) {
  StartWith("[General]\nTimer=4\n");
  EXPECT_EQ(Settings.TimerSeconds, 15);
  ExpectFileUntouched();
  OpenSettingsStore();

  // 260 would be 4 in its low byte: the timer index is not cut down.
  for (const std::int64_t invalid : {-1, 5, 260}) {
    WriteSetting("Timer", invalid);
    LoadSettings();
    EXPECT_EQ(Settings.TimerIndex, invalid);
    EXPECT_EQ(Settings.TimerSeconds, 15) << invalid;
  }
  WriteSetting("Timer", 2);
  LoadSettings();
  EXPECT_EQ(Settings.TimerSeconds, 5);
}

TEST_F(LoadSettingsTest, OnOffValuesDeriveTheirWordsAndOthersChangeNothing) {
  StartWith("[General]\nSoundOn=0\nShadowOn=1\nMouseOn=1\nClipboardOn=0\nPreviewOn=1\n");
  EXPECT_EQ(Settings.SoundOption, " -x");
  EXPECT_EQ(Settings.ShadowOption, "");
  EXPECT_EQ(Settings.PointerOption, " -C");
  EXPECT_EQ(Settings.ClipboardOption, "");
  EXPECT_EQ(Settings.PreviewOption, " -P");

  WriteSetting("SoundOn", 1);
  WriteSetting("ClipboardOn", 1);
  LoadSettings();
  EXPECT_EQ(Settings.SoundOption, "");
  EXPECT_EQ(Settings.ClipboardOption, " -c");

  WriteSetting("SoundOn", 2);
  WriteSetting("ShadowOn", -1);
  WriteSetting("MouseOn", 7);
  LoadSettings();
  EXPECT_EQ(Settings.SoundOn, 2);
  EXPECT_EQ(Settings.SoundOption, "");
  EXPECT_EQ(Settings.ShadowOption, "");
  EXPECT_EQ(Settings.PointerOption, " -C");

  // The low byte of 256 is 0.
  WriteSetting("SoundOn", 256);
  LoadSettings();
  EXPECT_EQ(Settings.SoundOn, 0);
  EXPECT_EQ(Settings.SoundOption, " -x");
}

TEST_F(LoadSettingsTest, ASaveLocationOtherThanTheFirstIgnoresTheStoredFolder) {
  Settings.DirPath = "/kept/";
  Settings.DisplayPath = "kept";
  Settings.LastSavePath = "/last/";
  StartWith("[General]\nFileLocation=2\nDirPath=/srv/shots/\nDisplayPath=shots\nTimer=3\n");
  EXPECT_EQ(Settings.DirPath, "/kept/");
  EXPECT_EQ(Settings.DisplayPath, "kept");
  EXPECT_EQ(Settings.LastSavePath, "/last/");
  EXPECT_EQ(Settings.TimerSeconds, 10);
  ExpectFileUntouched();

  OpenSettingsStore();
  WriteSetting("FileLocation", 0);
  LoadSettings();
  EXPECT_EQ(Settings.DirPath, "/srv/shots/");
  EXPECT_EQ(Settings.DisplayPath, "shots");
  EXPECT_EQ(Settings.LastSavePath, "/srv/shots/");
}

TEST_F(LoadSettingsTest, AFileCutOffMidLineKeepsItsWholeLines) {
  StartWith("[General]\nTimer=4\nSoundOn=0\nMenuIcon=3\nDirPa");
  EXPECT_EQ(Settings.TimerSeconds, 15);
  EXPECT_EQ(Settings.SoundOption, " -x");
  EXPECT_EQ(Settings.MenuIcon, 3);
  EXPECT_EQ(Settings.DirPath, "");
  ExpectFileUntouched();
}

TEST_F(LoadSettingsTest, BinaryGarbageLoadsAsMissingKeys) {
  std::string garbage;
  std::uint32_t state = 12345;
  for (int i = 0; i < 4096; ++i) {
    state = state * 1103515245u + 12345u;
    garbage += static_cast<char>(state >> 24);
  }
  StartWith(garbage);
  EXPECT_EQ(Settings.TimerSeconds, 0);
  EXPECT_EQ(Settings.SoundOption, " -x");
  EXPECT_EQ(Settings.FormatOption, "-t png");
  EXPECT_EQ(Settings.ShortKey1, "");
  ExpectFileUntouched();
}

TEST_F(LoadSettingsTest, TextThatIsNotInIniFormLoadsAsMissingKeys) {
  StartWith(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>\n"
      "<key>Timer</key><integer>4</integer>\n<key>SoundOn</key><integer>1</integer>\n"
      "</dict></plist>\n");
  EXPECT_EQ(Settings.TimerIndex, 0);
  EXPECT_EQ(Settings.TimerSeconds, 0);
  EXPECT_EQ(Settings.SoundOption, " -x");
  ExpectFileUntouched();
}

TEST_F(LoadSettingsTest, ValuesOfTheWrongTypeLoadAsMissing) {
  Settings.TimerSeconds = 10;
  StartWith(
      "[General]\n"
      "Timer=abc\n"
      "FileFormat=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x10)\n"
      "SoundOn=1.5\n"
      "ShadowOn=99999999999999999999999\n"
      "MenuIcon=@ByteArray(\\x2)\n"
      "ShortKey1=@ByteArray(\\xe2\\x8c\\x98)\n"
      "ShortKey2=42\n"
      "DirPath=/srv/a,b/\n"
      "DisplayPath=@Rect(0 0 1 1)\n");
  EXPECT_EQ(Settings.TimerIndex, 0);
  EXPECT_EQ(Settings.TimerSeconds, 0);
  EXPECT_EQ(Settings.FormatOption, "-t png");
  EXPECT_EQ(Settings.SoundOption, " -x");
  EXPECT_EQ(Settings.ShadowOption, " -o");
  EXPECT_EQ(Settings.MenuIcon, 0);
  EXPECT_EQ(Settings.ShortKey1, "");
  EXPECT_EQ(Settings.ShortKey2, "42");
  // An unquoted comma makes a list, which is not a text.
  EXPECT_EQ(Settings.DirPath, "");
  EXPECT_EQ(Settings.DisplayPath, "");
  ExpectFileUntouched();
}

}  // namespace
