#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QImageReader>

#include <cstdio>
#include <utility>

#include "command_line.h"
#include "editor_window.h"
#include "pin_window.h"

namespace {

constexpr int kBadRequest = 2;

int complain(const QString& text) {
  std::fprintf(stderr, "vantorshot-edit: %s\n", qPrintable(text));
  return kBadRequest;
}

}  // namespace

int main(int argc, char** argv) {
  // The words are read before the display is opened, so that --help and complaints work
  // without one.
  QStringList words;
  for (int i = 1; i < argc; ++i) words << QString::fromLocal8Bit(argv[i]);
  EditRequest request = parseEditWords(words);
  if (request.help) {
    std::fputs(qPrintable(editUsage()), stdout);
    return 0;
  }
  if (request.version) {
    std::printf("vantorshot-edit %s\n", VANTORSHOT_VERSION);
    return 0;
  }
  if (!request.problem.isEmpty()) return complain(request.problem + " (see --help)");
  if (!request.fromClipboard && !QFileInfo(request.file).isReadable()) {
    return complain("cannot read " + request.file + ": no such file, or not readable");
  }

  QApplication app(argc, argv);
  app.setApplicationName("vantorshot-edit");

  QImage picture;
  if (request.fromClipboard) {
    picture = QApplication::clipboard()->image();
    if (picture.isNull()) return complain("the clipboard holds no picture");
  } else {
    QImageReader reader(request.file);
    reader.setAutoTransform(true);
    picture = reader.read();
    if (picture.isNull()) {
      return complain("cannot read " + request.file + ": " + reader.errorString());
    }
  }
  if (request.pin) {
    QString name = request.fromClipboard ? "clipboard" : QFileInfo(request.file).fileName();
    (new PinWindow(picture, name))->show();
    return app.exec();
  }
  // The window keeps its own copy of the pixels: this one is let go before the event loop.
  EditorWindow window(std::exchange(picture, QImage()),
                      request.fromClipboard ? QString() : request.file);
  window.show();
  return app.exec();
}
