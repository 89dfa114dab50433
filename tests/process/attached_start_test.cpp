#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/process.h"
#include "support/scratch_folder.h"

namespace {

constexpr int Attached = ProcessKeep | ProcessReadOutput;

class AttachedStartTest : public ::testing::Test {
 protected:
  ScratchFolder folder;
  // Prints each argument word on its own line.
  std::string echoWords = folder.WriteFile(
      "echo-words", "#!/bin/sh\nfor w in \"$@\"; do printf '%s\\n' \"$w\"; done\n", 0755);
};

TEST_F(AttachedStartTest, DateGivesItsOneLineAndStaysActiveUntilItIsRead) {
  const ProcessHandle handle = StartProcess("/bin/date", "  +%Y-%d-%m-%I%M%S", "", Attached);
  ASSERT_TRUE(handle);
  ASSERT_NE(handle.record, nullptr);
  WaitProcessOutput(handle);
  EXPECT_TRUE(ProcessActive(handle)) << "its line is still unread";
  ASSERT_GT(PendingProcessOutput(handle), 0u);
  const std::string stamp = ReadProcessLine(handle);
  EXPECT_EQ(stamp.size(), 17u) << stamp;
  EXPECT_EQ(stamp.find('\n'), std::string::npos);
  EXPECT_EQ(stamp[4], '-');
  EXPECT_EQ(stamp[7], '-');
  EXPECT_EQ(stamp[10], '-');
  while (ProcessActive(handle)) WaitProcessOutput(handle);
  EXPECT_EQ(ReadProcessLine(handle), "") << "nothing after the end";
  ReleaseProcess(handle);
}

TEST_F(AttachedStartTest, ParameterTextReachesTheProgramAsItsWords) {
  EXPECT_EQ(
      WaitForProcessEnd(StartProcess(echoWords, " -t png  \"/home/u1/My Shots/x.png\"", "", Attached)),
      (std::vector<std::string>{"-t", "png", "/home/u1/My Shots/x.png"}));
  EXPECT_EQ(WaitForProcessEnd(StartProcess(echoWords, "\"abc", "", Attached)),
            (std::vector<std::string>{"abc"}));
  const std::string countWords = folder.WriteFile("count", "#!/bin/sh\necho $#\n", 0755);
  EXPECT_EQ(WaitForProcessEnd(StartProcess(countWords, "", "", Attached)),
            (std::vector<std::string>{"0"}))
      << "an empty text passes the name alone";
}

TEST_F(AttachedStartTest, WordListsPassEveryCharacterThrough) {
  const std::vector<std::string> words = {"-t", "a \"quoted\" -x word", "", "tab\there"};
  EXPECT_EQ(WaitForProcessEnd(StartProcessWords(echoWords, words, "", Attached)), words);
}

TEST_F(AttachedStartTest, TooManyWordsFailTheStart) {
  EXPECT_FALSE(StartProcessWords(echoWords, std::vector<std::string>(511, "w"), "", Attached));
  EXPECT_EQ(
      WaitForProcessEnd(StartProcessWords(echoWords, std::vector<std::string>(510, "w"), "", Attached))
          .size(),
      510u);
}

TEST_F(AttachedStartTest, MissingProgramsGiveNoHandle) {
  EXPECT_FALSE(StartProcess("no-such-program-anywhere", "", "", Attached));
  EXPECT_FALSE(StartProcess(folder.Path() + "missing", "", "", Attached));
  EXPECT_FALSE(StartProcess(folder.Path() + "missing", "", "", 0));
}

TEST_F(AttachedStartTest, RunsInTheWorkingFolderOrTheInheritedOne) {
  char here[4096];
  ASSERT_NE(getcwd(here, sizeof here), nullptr);
  EXPECT_EQ(WaitForProcessEnd(StartProcess("/bin/pwd", "-P", "/", Attached)),
            (std::vector<std::string>{"/"}));
  EXPECT_EQ(WaitForProcessEnd(StartProcess("/bin/pwd", "", folder.Path() + "missing", Attached)),
            (std::vector<std::string>{here}))
      << "a folder that cannot be entered is ignored";
}

TEST_F(AttachedStartTest, OutputBeyondTheRingArrivesCompleteAndInOrder) {
  // About 1.3 MiB, more than a hundred times the ring.
  const std::vector<std::string> lines =
      WaitForProcessEnd(StartProcess("/usr/bin/seq", "1 200000", "", Attached));
  ASSERT_EQ(lines.size(), 200000u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ASSERT_EQ(lines[i], std::to_string(i + 1)) << "line " << i;
  }
}

TEST_F(AttachedStartTest, DecodesUtf8AndReadsBadLeadBytesAsBlanks) {
  // \200 is a stray continuation byte, \377 never leads; \303\251 is e-acute.
  EXPECT_EQ(WaitForProcessEnd(StartProcess("/usr/bin/printf", "a\\200b\\377c\\303\\251d\\r\\nlast", "",
                                      Attached)),
            (std::vector<std::string>{"a b c\xC3\xA9"
                                      "d\r",
                                      "last"}));
  EXPECT_EQ(
      WaitForProcessEnd(StartProcess("/usr/bin/printf",
                                "\\360\\237\\223\\267|\\300\\200|\\355\\240\\200", "", Attached)),
      (std::vector<std::string>{"\xF0\x9F\x93\xB7| | "}))
      << "a four-byte character passes; an overlong NUL and a surrogate read as blanks";
}

TEST_F(AttachedStartTest, AProgramThatFailsToStartEndsWithoutOutput) {
  const std::string noInterpreter =
      folder.WriteFile("broken", "#!/nonexistent/interpreter\necho hi\n", 0755);
  EXPECT_TRUE(WaitForProcessEnd(StartProcess(noInterpreter, "", "", Attached)).empty());
}

TEST_F(AttachedStartTest, EndsWhenTheProgramEndsEvenIfItsChildKeepsTheOutputOpen) {
  // The background sleeper inherits the output pipe and would hold it open for a minute.
  const std::vector<std::string> lines =
      WaitForProcessEnd(StartProcess("/bin/sh", "-c \"sleep 60 & echo $!; echo done\"", "", Attached));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "done");
  const pid_t sleeper = std::stoi(lines[0]);
  EXPECT_EQ(kill(sleeper, 0), 0) << "the wait ended before the sleeper did";
  kill(sleeper, SIGKILL);
}

TEST_F(AttachedStartTest, WithoutOutputTheWaitBlocksUntilTheProgramEnds) {
  const std::string marker = folder.Path() + "ran";
  const ProcessHandle handle =
      StartProcess("/bin/sh", "-c \"sleep 0.2; touch " + marker + "\"", "", ProcessKeep);
  ASSERT_TRUE(handle);
  EXPECT_EQ(PendingProcessOutput(handle), 0u);
  EXPECT_EQ(ReadProcessLine(handle), "");
  WaitProcessOutput(handle);
  EXPECT_FALSE(ProcessActive(handle));
  EXPECT_EQ(access(marker.c_str(), F_OK), 0) << "the program had finished its work";
  ReleaseProcess(handle);
}

}  // namespace
