#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QImageReader>

#include <cstdio>
#include <utility>

#include "command_line.h"
#include "editor_window.h"
#include "picture_reading.h"
#include "pin_window.h"

namespace {

constexpr int kBadRequest = 2;

int complain(const QString& text) {
  std::fprintf(stderr, "vantorshot-edit: %s\n", qPrintable(text));
  return kBadRequest;
}

// Shows the picture pinned, or in the editor, until its window closes.
int showPicture(QImage picture, const QString& name, bool pin, const QString& path) {
  if (pin) {
    (new PinWindow(picture, name))->show();
    return QApplication::exec();
  }
  // Handed over, not shared, so that the window converts the pixels in place.
  EditorWindow window(std::move(picture), path);
  window.show();
  return QApplication::exec();
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

  if (request.fromClipboard) {
    QImage picture = QApplication::clipboard()->image();
    if (picture.isNull()) return complain("the clipboard holds no picture");
    return showPicture(std::move(picture), "clipboard", request.pin, QString());
  }
  if (QImageReader probe(request.file); !probe.canRead()) {
    return complain("cannot read " + request.file + ": " + probe.errorString());
  }
  if (request.pin) {
    ReadPicture read = readPicture(request.file);
    if (read.picture.isNull()) return complain(read.problem);
    return showPicture(std::move(read.picture), QFileInfo(request.file).fileName(), true,
                       request.file);
  }
  // Decoding is most of the start: the window comes up meanwhile.
  EditorWindow window(request.file,
                      [](const QString& problem) { QCoreApplication::exit(complain(problem)); });
  window.show();
  return app.exec();
}
