#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPalette>
#include <QTemporaryDir>

#include "platform/qt/dark_appearance.h"
#include "platform/qt/qt_host.h"
#include "qt_fixture.h"
#include "support/scoped_environment.h"

namespace {

// A temporary configuration folder and no GTK theme variable, restored afterwards.
class AppearanceTest : public QtToolkitTest {
 protected:
  AppearanceTest() : savedPalette(QApplication::palette()) { gtkTheme.Unset(); }
  ~AppearanceTest() override { QApplication::setPalette(savedPalette); }

  void WriteGtkSettings(const char* version, const QByteArray& text) {
    ASSERT_TRUE(QDir(config.path()).mkpath(version));
    QFile file(config.path() + "/" + version + "/settings.ini");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }

  static QPalette DarkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    return dark;
  }

  QTemporaryDir config;
  ScopedEnvironment configVariable{"XDG_CONFIG_HOME", config.path().toLocal8Bit().toStdString()};
  ScopedEnvironment gtkTheme{"GTK_THEME"};
  QPalette savedPalette;
};

TEST_F(AppearanceTest, GtkPreferenceDecidesBeforeThePalette) {
  QApplication::setPalette(DarkPalette());
  WriteGtkSettings("gtk-3.0", "[Settings]\ngtk-theme-name=Adwaita\n");
  EXPECT_FALSE(DesktopIsDark());
  WriteGtkSettings("gtk-3.0",
                   "[Settings]\ngtk-theme-name=Adwaita\ngtk-application-prefer-dark-theme=1\n");
  EXPECT_TRUE(DesktopIsDark());
  WriteGtkSettings("gtk-4.0", "[Settings]\ngtk-theme-name=Adwaita-dark\n");
  EXPECT_TRUE(DesktopIsDark());
  gtkTheme.Set("Adwaita:light");
  EXPECT_FALSE(DesktopIsDark());
}

TEST_F(AppearanceTest, PaletteChangeIsReportedOnlyWhileObservedAndOnlyWhenTheAnswerChanges) {
  QtHost host(true);
  QApplication::setPalette(DarkPalette());
  EXPECT_TRUE(TakeEvents().empty());
  EXPECT_EQ(IsDarkAppearance(), 1);

  host.ObserveAppearance(true);
  QPalette darker = DarkPalette();
  darker.setColor(QPalette::Button, QColor(10, 10, 10));
  QApplication::setPalette(darker);
  EXPECT_TRUE(TakeEvents().empty());

  QApplication::setPalette(savedPalette);
  EXPECT_EQ(TakeEvents(), (std::vector<QueuedEvent>{{0x1012C, 0, 0, 0}}));
  EXPECT_EQ(IsDarkAppearance(), 0);

  host.ObserveAppearance(false);
  QApplication::setPalette(DarkPalette());
  EXPECT_TRUE(TakeEvents().empty());
}

TEST(QtHost, OffscreenIsNoX11Session) {
  QtHost host(true);
  EXPECT_FALSE(host.Supported());
  EXPECT_NE(host.Requirement().find("X11"), std::string::npos);
  host.BecomeAccessory();
  EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
}

}  // namespace
