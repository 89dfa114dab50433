#include "platform/qt/dark_appearance.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPalette>
#include <QTextStream>

#include <optional>

namespace {

bool NamesDarkTheme(const QString& theme) {
  return theme.contains("dark", Qt::CaseInsensitive);
}

QString ConfigFolder() {
  const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  return config.isEmpty() ? QDir::homePath() + "/.config" : config;
}

// The answer of a GTK settings file ("gtk-application-prefer-dark-theme", "gtk-theme-name").
std::optional<bool> GtkSettingsAnswer(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
  std::optional<bool> answer;
  QTextStream in(&file);
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    const qsizetype equals = line.indexOf('=');
    if (equals < 0) continue;
    const QString key = line.left(equals).trimmed();
    const QString value = line.mid(equals + 1).trimmed();
    if (key == "gtk-application-prefer-dark-theme") {
      if (value == "1" || value.compare("true", Qt::CaseInsensitive) == 0) return true;
      if (!answer) answer = false;
    } else if (key == "gtk-theme-name") {
      answer = NamesDarkTheme(value);
    }
  }
  return answer;
}

bool PaletteIsDark() {
  const QPalette palette = QApplication::palette();
  return palette.color(QPalette::Window).lightness() <
         palette.color(QPalette::WindowText).lightness();
}

}  // namespace

bool DesktopIsDark() {
  const QString gtkTheme = qEnvironmentVariable("GTK_THEME");
  if (!gtkTheme.isEmpty()) return NamesDarkTheme(gtkTheme);
  for (const char* version : {"gtk-4.0", "gtk-3.0"}) {
    const QString path = ConfigFolder() + "/" + version + "/settings.ini";
    if (const std::optional<bool> answer = GtkSettingsAnswer(path)) return *answer;
  }
  return PaletteIsDark();
}
