#include <gtest/gtest.h>
#include <signal.h>
#include <time.h>

#include "settings/settings_test_support.h"

namespace {

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

TEST_F(StoredSettings, AnEmptyLockLeftByAKilledWriterDoesNotHoldLaterWrites) {
  OpenSettingsStore();
  CloseSettingsStore();
  WriteWholeFile(SettingsFile().string() + ".lock", "");
  EXPECT_TRUE(KillAWriter(10, 0));
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
  for (int round = 0; round < 40; ++round) {
    ASSERT_TRUE(KillAWriter(length, round * 400000L)) << "round " << round;
    const std::string after = ReadWholeFile(SettingsFile());
    ASSERT_TRUE(after == withA || after == withB) << "round " << round << ": " << after.size();
  }
}

}  // namespace
