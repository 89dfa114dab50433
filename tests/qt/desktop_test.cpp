#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform/qt/dark_appearance.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/qt_requesters.h"
#include "platform/qt/single_instance.h"
#include "qt_fixture.h"
#include "support/temporary_home.h"

namespace {

// A temporary configuration folder and no GTK theme variable; the palette is put back after.
class Appearance : public QtToolkitTest {
 protected:
  Appearance() { gtkTheme.Unset(); }
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
  ScopedEnvironment gtkTheme{"GTK_THEME"};
};

TEST_F(Appearance, TheThemeVariableThenGtkFourThenGtkThreeThenThePaletteDecide) {
  QApplication::setPalette(Dark());
  EXPECT_TRUE(DesktopIsDark());
  const struct {
    const char* version;
    const char* lines;
    bool dark;
  } cases[] = {{"gtk-3.0", "gtk-theme-name=Adwaita\n", false},
               {"gtk-3.0", "gtk-theme-name=Adwaita\ngtk-application-prefer-dark-theme=1\n", true},
               {"gtk-3.0", "gtk-application-prefer-dark-theme=0\n", false},
               {"gtk-3.0", "gtk-application-prefer-dark-theme = true\n", true},
               {"gtk-3.0", "no setting\n", true},
               {"gtk-4.0", "gtk-theme-name=Adwaita-dark\n", true},
               {"gtk-4.0", "gtk-theme-name=Yaru\n", false}};
  for (const auto& c : cases) {
    WriteWholeFile(home.config / c.version / "settings.ini", std::string("[Settings]\n") + c.lines);
    EXPECT_EQ(DesktopIsDark(), c.dark) << c.version << ": " << c.lines;
  }
  gtkTheme.Set("Adwaita:dark");
  EXPECT_TRUE(DesktopIsDark());
  gtkTheme.Set("Adwaita:light");
  EXPECT_FALSE(DesktopIsDark());
}

TEST_F(Appearance, AChangeIsReportedOnlyWhileObservedAndOnlyWhenTheAnswerChanges) {
  QtHost host(true);
  QApplication::setPalette(Dark());
  EXPECT_EQ(TakeEvents(), Events{});
  EXPECT_EQ(IsDarkAppearance(), 1);
  host.ObserveAppearance(true);
  QApplication::setPalette(Dark(10));
  EXPECT_EQ(TakeEvents(), Events{}) << "still dark";
  QApplication::setPalette(light);
  EXPECT_EQ(TakeEvents(), (Events{{AppearanceChangedEvent, 0, 0, 0}}));
  EXPECT_EQ(IsDarkAppearance(), 0);
  host.ObserveAppearance(false);
  QApplication::setPalette(Dark());
  EXPECT_EQ(TakeEvents(), Events{});
  QtHost none(false);
  none.ObserveAppearance(true);
  QApplication::setPalette(light);
  EXPECT_EQ(TakeEvents(), Events{}) << "no desktop, no watch";
}

TEST(QtHost, OffscreenIsNoX11SessionAndTheProgramOutlivesItsWindows) {
  QtHost host(true);
  EXPECT_FALSE(host.Supported());
  EXPECT_NE(host.Requirement().find("X11"), std::string::npos);
  QApplication::setQuitOnLastWindowClosed(true);
  QtHost(false).BecomeAccessory();
  EXPECT_TRUE(QApplication::quitOnLastWindowClosed());
  host.BecomeAccessory();
  EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
}

TEST(SingleInstanceLock, ASecondHolderOfTheSameDisplayIsRefused) {
  QTemporaryDir runtime;
  ScopedEnvironment runtimeVariable("XDG_RUNTIME_DIR", runtime.path().toStdString());
  EXPECT_EQ(SingleInstanceLockPath("/tmp/.X11-unix/X7"),
            runtime.path().toStdString() + "/vantorshot-_tmp_.X11-unix_X7.lock");
  {
    SingleInstanceLock first(":7");
    EXPECT_FALSE(first.HeldElsewhere());
    EXPECT_TRUE(SingleInstanceLock(":7").HeldElsewhere());
    EXPECT_FALSE(SingleInstanceLock(":8").HeldElsewhere());
  }
  EXPECT_FALSE(SingleInstanceLock(":7").HeldElsewhere()) << "the lock goes with its holder";
  runtimeVariable.Set("relative");
  EXPECT_EQ(SingleInstanceLockPath(":7"),
            "/tmp/vantorshot-" + std::to_string(getuid()) + "-:7.lock");
  runtimeVariable.Set("/nonexistent-runtime");
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

TEST(QtRequesters, AlertsShowTheirButtonsAndIconAndGiveTheFocusBack) {
  QtRequesters requesters;
  QWidget window;
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  for (const auto& [flags, icon] :
       {std::pair{AlertYesNoCancel | AlertCaution, QMessageBox::Warning},
        {AlertYesNo | AlertNote, QMessageBox::Information},
        {AlertYesNo | AlertStop, QMessageBox::Critical}}) {
    QStringList labels;
    QString defaultLabel;
    QMessageBox::Icon shown = QMessageBox::NoIcon;
    AnswerWhenShown<QMessageBox>([&](QMessageBox* box) {
      for (QAbstractButton* button : box->buttons()) labels << button->text();
      defaultLabel = box->defaultButton()->text();
      shown = box->icon();
      for (QAbstractButton* button : box->buttons()) {
        if (button->text() == "Non") button->click();
      }
    });
    const AlertRequest request = MakeAlertRequest("Warning!", "Replace?", flags, "fr-CA");
    EXPECT_EQ(requesters.RunAlert(request), AnswerNo);
    labels.sort();
    EXPECT_EQ(labels.join(","), request.buttons.size() == 3 ? "Annuler,Non,Oui" : "Non,Oui");
    EXPECT_EQ(defaultLabel, "Oui");
    EXPECT_EQ(shown, icon);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window)) << "the focus came back";
  }
  int buttons = 0;
  AnswerWhenShown<QMessageBox>([&](QMessageBox* box) {
    buttons = static_cast<int>(box->buttons().size());
    box->button(QMessageBox::Ok)->click();
  });
  EXPECT_EQ(requesters.RunAlert(MakeAlertRequest("Fatal Error!", "Failed.", 0, "en")), 0);
  EXPECT_EQ(buttons, 1) << "no choice: one OK";
}

TEST(QtRequesters, TheFolderChooserStartsInTheFolderAndGivesTheChoiceOrNothing) {
  QtRequesters requesters;
  QTemporaryDir home;
  ASSERT_TRUE(QDir(home.path()).mkpath("Pictures"));
  const FolderRequest request{"Please choose a Folder.", home.path().toStdString(), ""};
  QString title, shownFolder;
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

}  // namespace
