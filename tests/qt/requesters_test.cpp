#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform/qt/qt_requesters.h"
#include "qt_fixture.h"

namespace {

// Runs `answer` on the modal dialog of type T once it shows.
template <typename T, typename Answer>
void AnswerWhenShown(Answer answer) {
  QTimer::singleShot(0, [answer] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      ADD_FAILURE() << "no modal dialog";
      return;
    }
    answer(dialog);
  });
}

TEST(QtRequesters, AlertButtonsCarryLabelsAndTagsWithTheFirstAsDefault) {
  QtRequesters requesters;
  const AlertRequest request = MakeAlertRequest("Warning!", "Replace?", AlertYesNoCancel | AlertCaution, "fr-CA");
  QStringList labels;
  QString defaultLabel;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  AnswerWhenShown<QMessageBox>([&](QMessageBox* box) {
    for (QAbstractButton* button : box->buttons()) labels << button->text();
    defaultLabel = box->defaultButton()->text();
    icon = box->icon();
    for (QAbstractButton* button : box->buttons()) {
      if (button->text() == "Non") button->click();
    }
  });
  EXPECT_EQ(requesters.RunAlert(request), AnswerNo);
  labels.sort();
  EXPECT_EQ(labels, (QStringList{"Annuler", "Non", "Oui"}));
  EXPECT_EQ(defaultLabel, "Oui");
  EXPECT_EQ(icon, QMessageBox::Warning);
}

TEST(QtRequesters, AlertWithoutChoiceHasOneOkAndAnswersZero) {
  QtRequesters requesters;
  int buttons = 0;
  AnswerWhenShown<QMessageBox>([&](QMessageBox* box) {
    buttons = static_cast<int>(box->buttons().size());
    box->button(QMessageBox::Ok)->click();
  });
  EXPECT_EQ(requesters.RunAlert(MakeAlertRequest("Fatal Error!", "Failed.", AlertStop, "en")), 0);
  EXPECT_EQ(buttons, 1);
}

TEST(QtRequesters, FolderChooserStartsInTheFolderAndReturnsTheChoice) {
  QtRequesters requesters;
  QTemporaryDir home;
  ASSERT_TRUE(QDir(home.path()).mkpath("Pictures"));
  FolderRequest request;
  request.title = "Please choose a Folder.";
  request.startFolder = home.path().toStdString();
  QString title;
  QString shownFolder;
  AnswerWhenShown<QFileDialog>([&](QFileDialog* dialog) {
    title = dialog->windowTitle();
    shownFolder = dialog->directory().absolutePath();
    dialog->selectFile(home.path() + "/Pictures");
    static_cast<QDialog*>(dialog)->accept();
  });
  EXPECT_EQ(requesters.RunFolderChooser(request), (home.path() + "/Pictures").toStdString());
  EXPECT_EQ(title, "Please choose a Folder.");
  EXPECT_EQ(shownFolder, home.path());

  AnswerWhenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
  EXPECT_EQ(requesters.RunFolderChooser(request), "");
}

TEST(QtRequesters, FocusReturnsToTheWindowThatHadIt) {
  QtRequesters requesters;
  QWidget window;
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  AnswerWhenShown<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); });
  requesters.RunAlert(MakeAlertRequest("Warning!", "x", 0, "en"));
  EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}

}  // namespace
