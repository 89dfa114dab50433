#include "command_line.h"

EditRequest parseEditWords(const QStringList& words) {
  EditRequest request;
  bool onlyFiles = false;
  for (const QString& word : words) {
    if (!onlyFiles && word == "--") {
      onlyFiles = true;
    } else if (!onlyFiles && (word == "--help" || word == "-h")) {
      request.help = true;
    } else if (!onlyFiles && word == "--version") {
      request.version = true;
    } else if (!onlyFiles && word == "--pin") {
      request.pin = true;
    } else if (!onlyFiles && word == "--clipboard") {
      request.fromClipboard = true;
    } else if (!onlyFiles && word.startsWith('-') && word.size() > 1) {
      request.problem = "unknown option " + word;
    } else if (!request.file.isEmpty()) {
      request.problem = "only one picture at a time";
    } else {
      request.file = word;
    }
  }
  if (request.help || request.version || !request.problem.isEmpty()) return request;
  if (request.fromClipboard && !request.file.isEmpty()) {
    request.problem = "give a file or --clipboard, not both";
  } else if (!request.fromClipboard && request.file.isEmpty()) {
    request.problem = "no picture given";
  }
  return request;
}

QString editUsage() {
  return QStringLiteral(
      "Usage: vantorshot-edit [--pin] FILE\n"
      "       vantorshot-edit [--pin] --clipboard\n"
      "Marks up a picture (PNG, JPEG, TIFF, BMP) before it is shared.\n"
      "  --pin        show the picture in a small window that stays on top\n"
      "  --clipboard  take the picture from the clipboard\n"
      "  --help       show this text\n"
      "  --version    show the version\n");
}
