#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

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

// The probe's first write, or false after ten seconds.
bool FirstWrite(const Probe& probe) {
  pollfd ready{probe.output.Get(), POLLIN, 0};
  char byte = 0;
  return poll(&ready, 1, 10000) == 1 && read(probe.output.Get(), &byte, 1) == 1;
}

TEST_F(StoredSettings, AnEmptyLockLeftByAKilledWriterDoesNotHoldLaterWrites) {
  OpenSettingsStore();
  CloseSettingsStore();
  WriteWholeFile(SettingsFile().string() + ".lock", "");
  Probe probe = StartProbe({"churn", "10"});
  const bool wrote = FirstWrite(probe);
  kill(probe.pid, SIGKILL);
  waitpid(probe.pid, nullptr, 0);
  EXPECT_TRUE(wrote);
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
    Probe probe = StartProbe({"churn", std::to_string(length)});
    const bool wrote = FirstWrite(probe);
    const timespec pause{0, round * 400000L};
    nanosleep(&pause, nullptr);
    kill(probe.pid, SIGKILL);
    int status = 0;
    waitpid(probe.pid, &status, 0);
    ASSERT_TRUE(wrote && WIFSIGNALED(status)) << "round " << round;
    const std::string after = ReadWholeFile(SettingsFile());
    ASSERT_TRUE(after == withA || after == withB) << "round " << round << ": " << after.size();
  }
}

}  // namespace
