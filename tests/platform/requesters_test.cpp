#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"
#include "platform/requesters.h"

namespace {

std::vector<std::string> Labels(const AlertRequest& request) {
  std::vector<std::string> labels;
  for (const AlertButton& b : request.buttons) labels.push_back(b.label);
  return labels;
}

TEST(AlertRequest, ButtonLabelsFollowThePreferredLanguageByPrefix) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Labels(MakeAlertRequest("t", "x", AlertYesNoCancel, "fr-CA")),
            (V{"Oui", "Non", "Annuler"}));
  EXPECT_EQ(Labels(MakeAlertRequest("t", "x", AlertYesNoCancel, "de")),
            (V{"Ja", "Nein", "Abbrechen"}));
  EXPECT_EQ(Labels(MakeAlertRequest("t", "x", AlertYesNoCancel, "it-IT")),
            (V{"S\u00cc", "NO", "Annulla"}));
  EXPECT_EQ(Labels(MakeAlertRequest("t", "x", AlertYesNoCancel, "es-MX")),
            (V{"S\u00ed", "No", "Cancelar"}));
  EXPECT_EQ(Labels(MakeAlertRequest("t", "x", AlertYesNoCancel, "pt-BR")),
            (V{"Yes", "No", "Cancel"}));
  EXPECT_EQ(Labels(MakeAlertRequest("t", "x", AlertYesNo, "fr")), (V{"Oui", "Non"}));
  EXPECT_TRUE(MakeAlertRequest("t", "x", AlertStop, "fr").buttons.empty());
}

TEST(AlertRequest, ButtonsCarryTheirAnswersAndBit2AddsCancel) {
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

TEST(ShowAlert, ReturnsTheAnswerOnlyWhenAChoiceWasOffered) {
  headless::Platform platform;
  platform.requesters.QueueAlertAnswer(AnswerNo);
  EXPECT_EQ(ShowAlert("Warning!", "Sure?", AlertYesNo | AlertCaution), AnswerNo);
  platform.requesters.QueueAlertAnswer(AnswerYes);
  EXPECT_EQ(ShowAlert("Error!", "Gone.", AlertStop), AnswerNone);
  EXPECT_EQ(ShowAlert("Q", "Default?", AlertYesNoCancel), AnswerYes) << "Return takes Yes";

  ASSERT_EQ(platform.requesters.Alerts().size(), 3u);
  EXPECT_EQ(platform.requesters.Alerts()[1].title, "Error!");
  EXPECT_EQ(platform.requesters.Alerts()[1].text, "Gone.");
  EXPECT_EQ(platform.requesters.Alerts()[1].icon, AlertIcon::Stop);
}

TEST(ShowAlert, WithoutADesktopAnswersNothing) {
  EXPECT_EQ(ShowAlert("t", "x", AlertYesNo), AnswerNone);
  EXPECT_EQ(ChooseFolder("t", "/home/"), "");
}

TEST(FolderRequest, SplitsTheInitialPathAtItsLastSlash) {
  FolderRequest r = MakeFolderRequest("Please choose a Folder.", "/home/");
  EXPECT_EQ(r.startFolder, "/home");
  EXPECT_EQ(r.name, "");
  r = MakeFolderRequest("", "/home/u1/Shots");
  EXPECT_EQ(r.startFolder, "/home/u1");
  EXPECT_EQ(r.name, "Shots");
  r = MakeFolderRequest("", "/home");  // a slash at the start does not split
  EXPECT_EQ(r.startFolder, "");
  EXPECT_EQ(r.name, "/home");
  r = MakeFolderRequest("", "Shots");
  EXPECT_EQ(r.startFolder, "");
  EXPECT_EQ(r.name, "Shots");
  r = MakeFolderRequest("", "/");
  EXPECT_EQ(r.startFolder, "");
  EXPECT_EQ(r.name, "/");
  r = MakeFolderRequest("", "");
  EXPECT_EQ(r.startFolder, "");
  EXPECT_EQ(r.name, "");
}

TEST(ChooseFolder, EndsTheChoiceInExactlyOneSlashAndCancelGivesEmpty) {
  headless::Platform platform;
  platform.requesters.QueueFolderChoice("/home/u1/My Shots");
  platform.requesters.QueueFolderChoice("/home/u1/Other/");
  EXPECT_EQ(ChooseFolder("Please choose a Folder.", "/home/"), "/home/u1/My Shots/");
  EXPECT_EQ(ChooseFolder("Please choose a Folder.", "/home/"), "/home/u1/Other/");
  EXPECT_EQ(ChooseFolder("Please choose a Folder.", "/home/"), "");
  ASSERT_EQ(platform.requesters.FolderRequests().size(), 3u);
  EXPECT_EQ(platform.requesters.FolderRequests()[0].title, "Please choose a Folder.");
  EXPECT_EQ(platform.requesters.FolderRequests()[0].startFolder, "/home");
}

}  // namespace
