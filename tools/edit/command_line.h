#pragma once

#include <QString>
#include <QStringList>

// What the editor's words ask for: vantorshot-edit [--pin] FILE | [--pin] --clipboard,
// --help, --version.
struct EditRequest {
  bool pin = false;
  bool fromClipboard = false;
  bool help = false;
  bool version = false;
  QString file;
  QString problem;  // a one-line complaint about the words; empty when they are fine
};

EditRequest parseEditWords(const QStringList& words);

QString editUsage();
