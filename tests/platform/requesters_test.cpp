#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"
#include "platform/requesters.h"

namespace {

std::vector<std::string> Labels(std::uint32_t flags, std::string_view language) {
  std::vector<std::string> labels;
  for (const AlertButton& b : MakeAlertRequest("t", "x", flags, language).buttons) {
    labels.push_back(b.label);
  }
  return labels;
}

TEST(AlertRequest, ChoicesAreYesNoAndCancelInThePreferredLanguageByItsPrefix) {
  using Texts = std::vector<std::string>;
  EXPECT_EQ(Labels(AlertYesNoCancel, "en-GB"), (Texts{"Yes", "No", "Cancel"}));
  EXPECT_EQ(Labels(AlertYesNoCancel, "pt-BR"), Labels(AlertYesNoCancel, "en"));
  EXPECT_EQ(Labels(AlertYesNo, "en"), (Texts{"Yes", "No"}));
  EXPECT_TRUE(Labels(AlertStop | AlertNote, "en").empty());
  for (const char* language : {"fr", "de", "it", "es"}) {
    SCOPED_TRACE(language);
    const Texts own = Labels(AlertYesNoCancel, language);
    EXPECT_EQ(Labels(AlertYesNoCancel, std::string(language) + "-XX"), own);
    ASSERT_EQ(own.size(), 3u);
    EXPECT_NE(own[0], "Yes");
    EXPECT_NE(own[2], "Cancel");
    EXPECT_EQ(Labels(AlertYesNo, language), (Texts{own[0], own[1]}));
  }
  const AlertRequest three = MakeAlertRequest("t", "x", AlertYesNo | AlertYesNoCancel, "en");
  ASSERT_EQ(three.buttons.size(), 3u);
  EXPECT_EQ(three.buttons[0].tag, AnswerYes);
  EXPECT_EQ(three.buttons[1].tag, AnswerNo);
  EXPECT_EQ(three.buttons[2].tag, AnswerCancel);
}

TEST(AlertRequest, TheFirstIconBitOfCautionNoteStopWins) {
  EXPECT_EQ(MakeAlertRequest("", "", AlertCaution | AlertNote, "en").icon, AlertIcon::Caution);
  EXPECT_EQ(MakeAlertRequest("", "", AlertNote | AlertStop, "en").icon, AlertIcon::Note);
  EXPECT_EQ(MakeAlertRequest("", "", AlertStop, "en").icon, AlertIcon::Stop);
  EXPECT_EQ(MakeAlertRequest("", "", AlertYesNo, "en").icon, AlertIcon::Application);
}

TEST(Requesters, AnswerOnlyWhenAChoiceWasOfferedAndNothingWithoutADesktop) {
  EXPECT_EQ(ShowAlert("t", "x", AlertYesNo), AnswerNone);
  EXPECT_EQ(ChooseFolder("t", "/home/"), "");
  headless::Platform platform;
  platform.requesters.QueueAlertAnswer(AnswerNo);
  EXPECT_EQ(ShowAlert("Warning!", "Sure?", AlertYesNo | AlertCaution), AnswerNo);
  platform.requesters.QueueAlertAnswer(AnswerYes);
  EXPECT_EQ(ShowAlert("Error!", "Gone.", AlertStop), AnswerNone);
  platform.requesters.QueueAlertAnswer(-1);
  EXPECT_EQ(ShowAlert("Q", "Not shown", AlertYesNo), AnswerNone);
  ASSERT_EQ(platform.requesters.Alerts().size(), 3u);
  EXPECT_EQ(platform.requesters.Alerts()[1].title, "Error!");
  EXPECT_EQ(platform.requesters.Alerts()[1].text, "Gone.");

  platform.requesters.QueueFolderChoice("/home/u1/My Shots");
  platform.requesters.QueueFolderChoice("/home/u1/Other/");
  EXPECT_EQ(ChooseFolder("Please choose a Folder.", "/home/"), "/home/u1/My Shots/");
  EXPECT_EQ(ChooseFolder("Please choose a Folder.", "/home/"), "/home/u1/Other/");
  EXPECT_EQ(ChooseFolder("Please choose a Folder.", "/home/"), "") << "cancelled";
  ASSERT_EQ(platform.requesters.FolderRequests().size(), 3u);
  EXPECT_EQ(platform.requesters.FolderRequests()[0].title, "Please choose a Folder.");
  EXPECT_EQ(platform.requesters.FolderRequests()[0].startFolder, "/home");
}

TEST(FolderRequest, SplitsTheInitialPathAtItsLastSlashButNotAtTheFirstCharacter) {
  const struct {
    const char* path;
    const char* folder;
    const char* name;
  } cases[] = {{"/home/", "/home", ""},
               {"/home/u1/Shots", "/home/u1", "Shots"},
               {"/home", "", "/home"},
               {"Shots", "", "Shots"},
               {"a/b", "a", "b"},
               {"/", "", "/"},
               {"", "", ""}};
  for (const auto& c : cases) {
    const FolderRequest request = MakeFolderRequest("", c.path);
    EXPECT_EQ(request.startFolder, c.folder) << c.path;
    EXPECT_EQ(request.name, c.name) << c.path;
  }
}

}  // namespace
