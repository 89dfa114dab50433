#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/qt/dark_appearance.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/qt_requesters.h"
#include "platform/qt/single_instance.h"
#include "qt_fixture.h"
#include "support/support.h"

namespace {

// A temporary configuration folder and no GTK theme variable; the palette is put back after.
class Appearance : public QtToolkitTest {
 protected:
  ~Appearance() override { QApplication::setPalette(light); }
  static QPalette Dark(int button = 30) {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(button, button, button));
    return dark;
  }

  QPalette light = QApplication::palette();
  TemporaryHome home;
  ScopedEnvironment gtkTheme{"GTK_THEME", ""};
};

TEST_F(Appearance, TheThemeVariableThenGtkFourThenGtkThreeThenThePaletteDecide) {
  QApplication::setPalette(Dark());
  EXPECT_TRUE(DesktopIsDark());
  // Each settings file in turn, one line after [Settings]; gtk-4.0 comes before gtk-3.0.
  const std::pair<std::string, bool> cases[] = {
      {"3 gtk-theme-name=Adwaita", false},
      {"3 gtk-application-prefer-dark-theme=1\ngtk-theme-name=Adwaita", true},
      {"3 gtk-application-prefer-dark-theme=0", false},
      {"3 gtk-application-prefer-dark-theme = true", true},
      {"3 no setting", true},
      {"4 gtk-theme-name=Adwaita-dark", true},
      {"4 gtk-theme-name=Yaru", false}};
  for (const auto& [file, dark] : cases) {
    WriteWholeFile(home.config / ("gtk-" + file.substr(0, 1) + ".0") / "settings.ini",
                   "[Settings]\n" + file.substr(2) + "\n");
    EXPECT_EQ(DesktopIsDark(), dark) << file;
  }
  gtkTheme.Set("Adwaita:dark");
  EXPECT_TRUE(DesktopIsDark());
  gtkTheme.Set("Adwaita:light");
  EXPECT_FALSE(DesktopIsDark());
}

TEST_F(Appearance, AChangeIsReportedOnlyWhileObservedAndOnlyWhenTheAnswerChanges) {
  QtHost host(true), none(false);
  QApplication::setPalette(Dark());
  EXPECT_EQ(IsDarkAppearance(), 1);
  host.ObserveAppearance(true);
  none.ObserveAppearance(true);  // no desktop, no watch
  QApplication::setPalette(Dark(10));
  EXPECT_EQ(TakeEvents(), Events{}) << "still dark";
  QApplication::setPalette(light);
  EXPECT_EQ(TakeEvents(), (Events{{AppearanceChangedEvent, 0, 0, 0}}));
  EXPECT_EQ(IsDarkAppearance(), 0);
  host.ObserveAppearance(false);
  QApplication::setPalette(Dark());
  EXPECT_EQ(TakeEvents(), Events{});
}

TEST(SingleInstanceLock, ASecondHolderOfTheSameDisplayIsRefused) {
  const TemporaryHome home;
  ScopedEnvironment runtime("XDG_RUNTIME_DIR", home.home.string());
  EXPECT_EQ(SingleInstanceLockPath("/tmp/.X11-unix/X7"),
            home.home.string() + "/vantorshot-_tmp_.X11-unix_X7.lock");
  {
    const SingleInstanceLock first(":7");
    EXPECT_FALSE(first.HeldElsewhere());
    EXPECT_TRUE(SingleInstanceLock(":7").HeldElsewhere());
    EXPECT_FALSE(SingleInstanceLock(":8").HeldElsewhere());
  }
  EXPECT_FALSE(SingleInstanceLock(":7").HeldElsewhere()) << "the lock goes with its holder";
  runtime.Set("relative");
  EXPECT_EQ(SingleInstanceLockPath(":7"),
            "/tmp/vantorshot-" + std::to_string(getuid()) + "-:7.lock");
  runtime.Set("/nonexistent-runtime");
  EXPECT_FALSE(SingleInstanceLock(":7").HeldElsewhere()) << "a lock that cannot be made";
}

// Runs `answer` on the modal dialog of type T once it shows.
template <typename T, typename Answer>
void AnswerWhenShown(Answer answer) {
  QTimer::singleShot(0, [answer] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return ADD_FAILURE() << "no modal dialog";
    answer(dialog);
  });
}

TEST(QtRequesters, AlertsShowTheirChoicesAndGiveTheFocusBackAndTheChooserAFolder) {
  QtRequesters requesters;
  QWidget window;
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QStringList shown;
  AnswerWhenShown<QMessageBox>([&](QMessageBox* box) {
    for (QAbstractButton* button : box->buttons()) shown << button->text();
    shown.sort();
    shown << box->defaultButton()->text() << QString::number(box->icon());
    for (QAbstractButton* button : box->buttons()) {
      if (button->text() == "Non") button->click();
    }
  });
  const auto flags = AlertYesNoCancel | AlertCaution;
  EXPECT_EQ(requesters.RunAlert(MakeAlertRequest("Warning!", "Sure?", flags, "fr-CA")), AnswerNo);
  EXPECT_EQ(shown.join(","), "Annuler,Non,Oui,Oui," + QString::number(QMessageBox::Warning));
  EXPECT_TRUE(QTest::qWaitForWindowActive(&window)) << "the focus came back";
  AnswerWhenShown<QMessageBox>([&](QMessageBox* box) {
    EXPECT_EQ(box->buttons().size(), 1) << "no choice: one OK";
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    box->button(QMessageBox::Ok)->click();
  });
  EXPECT_EQ(requesters.RunAlert(MakeAlertRequest("Error!", "Failed.", AlertStop, "en")), 0);

  const TemporaryHome home;
  const QString start = QString::fromStdString(home.home.string());
  ASSERT_TRUE(QDir(start).mkpath("Pictures"));
  const FolderRequest request{"Please choose a Folder.", start.toStdString(), ""};
  AnswerWhenShown<QFileDialog>([&](QFileDialog* dialog) {
    EXPECT_EQ(dialog->windowTitle(), "Please choose a Folder.");
    EXPECT_EQ(dialog->directory().absolutePath(), start);
    dialog->selectFile(start + "/Pictures");
    static_cast<QDialog*>(dialog)->accept();
  });
  EXPECT_EQ(requesters.RunFolderChooser(request), (start + "/Pictures").toStdString());
  AnswerWhenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
  EXPECT_EQ(requesters.RunFolderChooser(request), "");
}

}  // namespace
