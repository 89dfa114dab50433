#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "settings/settings_store.h"
#include "settings/settings_test_support.h"

namespace {

namespace fs = std::filesystem;

using StoredSettings = SettingsFilesTest;

TEST_F(StoredSettings, TextsReadBackExactlyInTheNextStart) {
  OpenSettingsStore();
  const std::map<std::string, std::string> texts = {
      {"ShortKey1", "⌃⌥⇧⌘A"},
      {"ShortKey2", "⎋"},
      {"ShortKey3", "⇧⌘↩"},
      {"ShortKey4", "@Variant(\\0\\0\\0\\x7f)"},
      {"DirPath", "/home/zoë/My \"quoted\", 'odd' folder; #1 = [x] \\ tab\there/"},
      {"DisplayPath", "  line one\nline two, @ByteArray(x)  "},
  };
  for (const auto& [key, text] : texts) WriteSetting(key, text);
  EXPECT_EQ(ReadStringSetting("DirPath"), texts.at("DirPath"));
  CloseSettingsStore();

  const auto record = ShowRecordInProbe();
  for (const auto& [key, text] : texts) EXPECT_EQ(record.at(key), text) << key;
  EXPECT_EQ(record.at("LastSavePath"), texts.at("DirPath"));
}

TEST_F(StoredSettings, AMissingStringReadsAsEmpty) {
  WriteWholeFile(SettingsFile(), "[General]\nDirPath=\n");
  OpenSettingsStore();
  EXPECT_EQ(ReadStringSetting("DirPath"), "");
  EXPECT_EQ(ReadStringSetting("ShortKey3"), "");
  EXPECT_EQ(ReadStringSetting("NoSuchKey"), "");
}

// Waits until the probe has written once, or fails the test after ten seconds.
bool WaitForFirstWrite(const ProbeProcess& probe) {
  pollfd ready{probe.output.get(), POLLIN, 0};
  char byte = 0;
  return poll(&ready, 1, 10000) == 1 && read(probe.output.get(), &byte, 1) == 1;
}

TEST_F(StoredSettings, AnEmptyLockLeftByAKilledWriterDoesNotHoldLaterWrites) {
  OpenSettingsStore();
  CloseSettingsStore();
  WriteWholeFile(SettingsFile().string() + ".lock", "");

  ProbeProcess probe = StartProbe({"churn", "10"});
  const bool wrote = WaitForFirstWrite(probe);
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
    ProbeProcess probe = StartProbe({"churn", std::to_string(length)});
    const bool wrote = WaitForFirstWrite(probe);
    const timespec pause{0, round * 400000L};
    nanosleep(&pause, nullptr);
    kill(probe.pid, SIGKILL);
    int status = 0;
    waitpid(probe.pid, &status, 0);
    ASSERT_TRUE(wrote) << "round " << round;
    ASSERT_TRUE(WIFSIGNALED(status)) << "round " << round;

    const std::string after = ReadWholeFile(SettingsFile());
    ASSERT_TRUE(after == withA || after == withB)
        << "round " << round << ": " << after.size() << " bytes";
  }
}

}  // namespace
