#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <memory>

struct ToolResult {
  bool finished = false;
  int exitCode = -1;
  QString output;
  QString errorOutput;
};

// The capture tool started with `words`; wait() bounds how long it may take.
class ToolRun {
 public:
  explicit ToolRun(const QStringList& words, const QProcessEnvironment& environment =
                                                 QProcessEnvironment::systemEnvironment());
  ToolResult wait(int timeoutMs = 20000);
  QProcess& process() { return *process_; }

 private:
  std::unique_ptr<QProcess> process_;
};

ToolResult runTool(const QStringList& words, const QProcessEnvironment& environment =
                                                 QProcessEnvironment::systemEnvironment());

// Runs an outside program (xdotool, xclip, pdfimages...) to its end, killing it after the timeout.
// True when it exited with status 0; its standard output goes to `output` when given.
bool runProgram(const QString& program, const QStringList& args, QByteArray* output = nullptr,
                int timeoutMs = 15000);

// Waits until a mapped window with exactly this title exists. The tool titles its overlays only
// once it holds the pointer and keyboard, so input sent afterwards reaches it.
bool waitForVisibleWindow(const QString& title);

QString selectionTitle();
QString windowPickerTitle();
