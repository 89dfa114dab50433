#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"
#include "platform/requesters.h"

namespace {

using Texts = std::vector<std::string>;

Texts Labels(std::uint32_t flags, std::string_view language) {
  Texts labels;
  for (const AlertButton& b : MakeAlertRequest("t", "x", flags, language).buttons) {
    labels.push_back(b.label + "=" + std::to_string(b.tag));
  }
  return labels;
}

TEST(AlertRequest, ChoicesInThePreferredLanguageByPrefixAndTheFirstIconBitWins) {
  EXPECT_EQ(Labels(AlertYesNoCancel, "pt-BR"), (Texts{"Yes=6", "No=7", "Cancel=2"}));
  EXPECT_EQ(Labels(AlertYesNo | AlertYesNoCancel, "en"), Labels(AlertYesNoCancel, "en-GB"));
  EXPECT_EQ(Labels(AlertYesNo, "en"), (Texts{"Yes=6", "No=7"}));
  EXPECT_EQ(Labels(AlertStop | AlertNote, "en"), Texts{});
  for (const char* language : {"fr", "de", "it", "es"}) {
    const Texts own = Labels(AlertYesNoCancel, language);
    EXPECT_EQ(Labels(AlertYesNoCancel, std::string(language) + "-XX"), own) << language;
    EXPECT_NE(own, Labels(AlertYesNoCancel, "en")) << language;
    EXPECT_EQ(Labels(AlertYesNo, language), Texts(own.begin(), own.end() - 1)) << language;
  }
  const std::pair<std::uint32_t, AlertIcon> icons[] = {
      {AlertCaution | AlertNote | AlertStop, AlertIcon::Caution},
      {AlertNote | AlertStop, AlertIcon::Note},
      {AlertStop | AlertYesNo, AlertIcon::Stop},
      {AlertYesNo, AlertIcon::Application}};
  for (const auto& [flags, icon] : icons) EXPECT_EQ(MakeAlertRequest("", "", flags, "").icon, icon);
}

TEST(Requesters, AnswerOnlyWhenAChoiceWasOfferedAndNothingWithoutADesktop) {
  EXPECT_EQ(ShowAlert("t", "x", AlertYesNo), AnswerNone);
  EXPECT_EQ(ChooseFolder("t", "/home/"), "");
  headless::Platform platform;
  for (const int answer : {AnswerNo, AnswerYes, -1}) platform.requesters.QueueAlertAnswer(answer);
  EXPECT_EQ(ShowAlert("Warning!", "Sure?", AlertYesNo | AlertCaution), AnswerNo);
  EXPECT_EQ(ShowAlert("Error!", "Gone.", AlertStop), AnswerNone);
  EXPECT_EQ(ShowAlert("Q", "Not shown", AlertYesNo), AnswerNone);
  ASSERT_EQ(platform.requesters.Alerts().size(), 3u);
  EXPECT_EQ(platform.requesters.Alerts()[1].title + platform.requesters.Alerts()[1].text,
            "Error!Gone.");
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
  const Texts cases[] = {{"/home/", "/home", ""},
                         {"/home/u1/Shots", "/home/u1", "Shots"},
                         {"/home", "", "/home"},
                         {"Shots", "", "Shots"},
                         {"a/b", "a", "b"},
                         {"/", "", "/"},
                         {"", "", ""}};
  for (const Texts& c : cases) {
    const FolderRequest request = MakeFolderRequest("", c[0]);
    EXPECT_EQ((Texts{c[0], request.startFolder, request.name}), c);
  }
}

}  // namespace
