#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/process.h"
#include "platform/process_lookup.h"
#include "platform/process_words.h"
#include "support/support.h"

namespace {

using Words = std::vector<std::string>;
constexpr int Attached = ProcessKeep | ProcessReadOutput;

TEST(SplitParameters, BlanksTabsAndLineFeedsSeparateAndQuotesHoldAWord) {
  const std::pair<const char*, Words> cases[] = {
      {" -W -t png  -o \"/Users/u1/My Shots/x.png\"",
       {"-W", "-t", "png", "-o", "/Users/u1/My Shots/x.png"}},
      {"\t a\t\tb \n c\n", {"a", "b", "c"}},
      {"", {}},
      {"  \t\n ", {}},
      {"\"\" x", {"", "x"}},
      {"\"a\tb c\"", {"a\tb c"}},
      {"\"ab\"cd", {"ab", "cd"}},         // a closing quote ends the word
      {"a\"b c\"d", {"a\"b", "c\"d"}},    // a quote inside a word is a character
      {"a\\\"b", {"a\\\"b"}},             // no escape character
      {"\"abc", {"abc"}},                 // an unclosed quote runs to the end
      {"\"a b\nc d", {"a b", "c", "d"}},  // or to the line feed
  };
  for (const auto& [text, words] : cases) EXPECT_EQ(SplitParameters(text), words) << text;
}

TEST(ProgramFound, APathOrAPlainNameOnPathToANonEmptyExecutableFile) {
  ScratchFolder folder;
  const std::string tool = folder.WriteFile("a/tool", "#!/bin/sh\n", 0755);
  folder.WriteFile("a/shared", "", 0755);  // empty: not a hit, the search goes on
  folder.WriteFile("b/shared", "#!/bin/sh\n", 0755);
  ScopedEnvironment path("PATH", "::" + folder.Path() + "a:" + folder.Path() + "b/:");
  for (const std::string& found :
       {std::string("/bin/sh"), tool, std::string("tool"), std::string("shared")}) {
    EXPECT_TRUE(ProgramFound(found)) << found;
  }
  for (const std::string& missing :
       {std::string("./tool"), std::string("sh"), folder.Path(), folder.Path() + "missing",
        std::string(), folder.WriteFile("empty", "", 0755),
        folder.WriteFile("plain", "#!/bin/sh\n", 0644)}) {
    EXPECT_FALSE(ProgramFound(missing)) << missing;
  }
  path.Unset();
  EXPECT_FALSE(ProgramFound("tool")) << "no PATH";
  EXPECT_TRUE(ProgramFound("/bin/sh"));
}

class AttachedStart : public ::testing::Test {
 protected:
  Words Run(const std::string& program, const std::string& parameters,
            const std::string& folder = "") {
    return WaitForProcessEnd(StartProcess(program, parameters, folder, Attached));
  }
  ScratchFolder folder;
  std::string echoWords =
      folder.WriteFile("echo", "#!/bin/sh\nfor w; do printf '%s\\n' \"$w\"; done\n", 0755);
};

TEST_F(AttachedStart, DateGivesOneLineAndStaysActiveUntilItIsRead) {
  const ProcessHandle handle = StartProcess("/bin/date", "  +%Y-%d-%m-%I%M%S", "", Attached);
  ASSERT_TRUE(handle && handle.record != nullptr);
  WaitProcessOutput(handle);
  EXPECT_TRUE(ProcessActive(handle)) << "its line is unread";
  ASSERT_GT(PendingProcessOutput(handle), 0u);
  const std::string stamp = ReadProcessLine(handle);
  EXPECT_TRUE(stamp.size() == 17 && stamp[4] == '-' && stamp[7] == '-' && stamp[10] == '-')
      << stamp;
  while (ProcessActive(handle)) WaitProcessOutput(handle);
  EXPECT_EQ(ReadProcessLine(handle), "") << "nothing after the end";
  ReleaseProcess(handle);
}

TEST_F(AttachedStart, WordsReachTheProgramWholeAndInTheirFolder) {
  EXPECT_EQ(Run(echoWords, " -t png  \"/home/u1/My Shots/x.png\""),
            (Words{"-t", "png", "/home/u1/My Shots/x.png"}));
  EXPECT_EQ(Run(folder.WriteFile("count", "#!/bin/sh\necho $#\n", 0755), ""), Words{"0"});
  const Words odd = {"-t", "a \"quoted\" -x word", "", "tab\there"};
  EXPECT_EQ(WaitForProcessEnd(StartProcessWords(echoWords, odd, "", Attached)), odd);
  EXPECT_FALSE(StartProcessWords(echoWords, Words(511, "w"), "", Attached)) << "too many";
  EXPECT_EQ(WaitForProcessEnd(StartProcessWords(echoWords, Words(510, "w"), "", Attached)).size(),
            510u);
  EXPECT_EQ(Run("/bin/pwd", "-P", "/"), Words{"/"});
  EXPECT_EQ(Run("/bin/pwd", "", folder.Path() + "missing"),
            Words{std::filesystem::current_path().string()})
      << "a folder that cannot be entered is ignored";
  for (const int modes : {Attached, 0}) {
    EXPECT_FALSE(StartProcess("no-such-program-anywhere", "", "", modes));
    EXPECT_FALSE(StartProcess(folder.Path() + "missing", "", "", modes));
  }
  EXPECT_TRUE(Run(folder.WriteFile("broken", "#!/nonexistent/sh\necho hi\n", 0755), "").empty())
      << "a program that fails to start ends without output";
}

TEST_F(AttachedStart, OutputArrivesCompleteInOrderAndDecodedAsUtf8) {
  // About 1.3 MiB, more than a hundred times the ring.
  const Words lines = Run("/usr/bin/seq", "1 200000");
  ASSERT_EQ(lines.size(), 200000u);
  for (std::size_t i = 0; i < lines.size(); ++i) ASSERT_EQ(lines[i], std::to_string(i + 1));
  // \200 is a stray continuation byte and \377 never leads: blanks; \303\251 is e-acute.
  EXPECT_EQ(Run("/usr/bin/printf", "a\\200b\\377c\\303\\251d\\r\\nlast"), (Words{"a b c\xC3\xA9"
                                                                                 "d\r",
                                                                                 "last"}));
  // A four-byte character passes; an overlong NUL, a surrogate and a cut-off one are blanks.
  EXPECT_EQ(Run("/usr/bin/printf", "\\360\\237\\223\\267|\\300\\200|\\355\\240\\200|\\342\\202"),
            Words{"\xF0\x9F\x93\xB7| | | "});
}

TEST_F(AttachedStart, EndsWhenTheProgramEndsEvenIfItsChildKeepsTheOutputOpen) {
  const Words lines = Run("/bin/sh", "-c \"sleep 60 & echo $!; echo done\"");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "done");
  const pid_t sleeper = std::stoi(lines[0]);
  EXPECT_EQ(kill(sleeper, SIGKILL), 0) << "the wait ended before the sleeper did";
}

TEST_F(AttachedStart, WithoutOutputTheWaitBlocksUntilTheProgramEnds) {
  const std::string marker = folder.Path() + "ran";
  const ProcessHandle handle =
      StartProcess("/bin/sh", "-c \"sleep 0.2; touch " + marker + "\"", "", ProcessKeep);
  ASSERT_TRUE(handle);
  EXPECT_EQ(PendingProcessOutput(handle), 0u);
  EXPECT_EQ(ReadProcessLine(handle), "");
  EXPECT_TRUE(ProcessActive(handle));
  WaitProcessOutput(handle);
  EXPECT_FALSE(ProcessActive(handle));
  EXPECT_EQ(access(marker.c_str(), F_OK), 0) << "the program had finished its work";
  ReleaseProcess(handle);
}

int CountEntries(const char* folder) {
  const auto entries = std::filesystem::directory_iterator(folder);
  return static_cast<int>(std::distance(begin(entries), end(entries)));
}

TEST(ProcessResources, AttachedRunsLeaveNoDescriptorsThreadsOrZombies) {
  // A sanitizer starts a thread of its own with the first thread the program makes.
  WaitForProcessEnd(StartProcess("/bin/true", "", "", Attached));
  const int descriptors = CountEntries("/proc/self/fd");
  const int threads = CountEntries("/proc/self/task");
  for (int i = 0; i < 200; ++i) {
    ASSERT_EQ(
        WaitForProcessEnd(StartProcess("/bin/echo", "run " + std::to_string(i), "", Attached)),
        Words{"run " + std::to_string(i)});
  }
  EXPECT_EQ(CountEntries("/proc/self/fd"), descriptors);
  EXPECT_EQ(CountEntries("/proc/self/task"), threads);
  // Released while it runs: not waited for, its descriptors go at once, and it is still reaped.
  const ProcessHandle handle =
      StartProcess("/bin/sh", "-c \"echo $$; exec sleep 30\"", "", Attached);
  const std::string pid = ReadProcessLine(handle), entry = "/proc/" + pid;
  EXPECT_TRUE(ProcessActive(handle));
  ReleaseProcess(handle);
  EXPECT_EQ(access(entry.c_str(), F_OK), 0) << "still running";
  EXPECT_EQ(CountEntries("/proc/self/fd"), descriptors);
  kill(std::stoi(pid), SIGKILL);
  for (int i = 0; i < 500 && access(entry.c_str(), F_OK) == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_NE(access(entry.c_str(), F_OK), 0) << "a zombie keeps its /proc entry";
}

TEST(DetachedStart, HandsTheProgramToTheSystemWithItsWordsAndFolder) {
  if (const pid_t caller = fork(); caller == 0) {
    _exit(StartProcess("/bin/true", "", "", 0) ? 7 : 1);  // the start returns to its caller
  } else {
    int status = 0;
    // Stop here on a fault: a start that ends its caller would end this test with status 0 too.
    ASSERT_TRUE(waitpid(caller, &status, 0) == caller && WEXITSTATUS(status) == 7) << status;
  }
  ScratchFolder folder;
  const std::string script = folder.WriteFile("record",
                                              "#!/bin/sh\n{ echo $$; pwd; printf '%s\\n' \"$@\"; } "
                                              "> out.tmp; mv out.tmp out\nexec sleep 600\n",
                                              0755);
  const ProcessHandle handle =
      StartProcess(script, "\"/home/u1/My Shots/\" second", folder.Path(), 0);
  ASSERT_TRUE(handle) << "a detached start gives its mark";
  EXPECT_EQ(handle.record, nullptr) << "and keeps no record";
  ReleaseProcess(handle);
  for (int i = 0; i < 500 && ReadWholeFile(folder.Path() + "out").empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));  // bounded: a fault fails
  }
  const Words lines = ReadLines(folder.Path() + "out");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(
      Words(lines.begin() + 1, lines.end()),
      (Words{folder.Path().substr(0, folder.Path().size() - 1), "/home/u1/My Shots/", "second"}));
  const pid_t runner = std::stoi(lines[0]);
  const std::string status = ReadWholeFile("/proc/" + lines[0] + "/status");
  EXPECT_EQ(status.find("\nPPid:\t" + std::to_string(getpid()) + "\n"), std::string::npos)
      << "the program belongs to the system";
  errno = 0;
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "no child of ours is left, not even a zombie";
  EXPECT_EQ(errno, ECHILD);
  kill(runner, SIGKILL);
}

}  // namespace
