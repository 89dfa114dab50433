#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/process_words.h"

namespace {

using Words = std::vector<std::string>;

TEST(SplitParametersTest, CutsAtRunsOfBlanksTabsAndLineFeeds) {
  EXPECT_EQ(SplitParameters(" -W -t png  -o \"/Users/u1/My Shots/x.png\""),
            (Words{"-W", "-t", "png", "-o", "/Users/u1/My Shots/x.png"}));
  EXPECT_EQ(SplitParameters("\t a\t\tb \n c\n"), (Words{"a", "b", "c"}));
  EXPECT_EQ(SplitParameters("load \"/home/u 1/agent file.plist\""),
            (Words{"load", "/home/u 1/agent file.plist"}));
}

TEST(SplitParametersTest, EmptyAndBlankTextsGiveNoWords) {
  EXPECT_TRUE(SplitParameters("").empty());
  EXPECT_TRUE(SplitParameters("  \t\n ").empty());
}

TEST(SplitParametersTest, QuotesMakeOneWordWithoutTheQuotes) {
  EXPECT_EQ(SplitParameters("\"\" x"), (Words{"", "x"})) << "an empty pair is an empty word";
  EXPECT_EQ(SplitParameters("\"a\tb c\""), (Words{"a\tb c"}));
  EXPECT_EQ(SplitParameters("\"ab\"cd"), (Words{"ab", "cd"}))
      << "a closing quote ends the word; what follows starts a new one";
  EXPECT_EQ(SplitParameters("a\"b c\"d"), (Words{"a\"b", "c\"d"}))
      << "a quote inside a plain word is an ordinary character";
  EXPECT_EQ(SplitParameters("a\\\"b"), (Words{"a\\\"b"})) << "there is no escape character";
}

TEST(SplitParametersTest, AnUnclosedQuoteRunsToTheLineFeedOrTheEnd) {
  EXPECT_EQ(SplitParameters("\"abc"), (Words{"abc"}));
  EXPECT_EQ(SplitParameters("\"a b\nc d"), (Words{"a b", "c", "d"}));
}

}  // namespace
