#include "tool_process.h"

ToolRun::ToolRun(const QStringList& words, const QProcessEnvironment& environment)
    : process_(std::make_unique<QProcess>()) {
  process_->setProcessEnvironment(environment);
  process_->setStandardInputFile(QProcess::nullDevice());
  process_->start(QStringLiteral(CAPTURE_TOOL_PATH), words);
}

ToolResult ToolRun::wait(int timeoutMs) {
  ToolResult result;
  if (!process_->waitForFinished(timeoutMs)) {
    process_->kill();
    process_->waitForFinished();
    return result;
  }
  result.finished = process_->exitStatus() == QProcess::NormalExit;
  result.exitCode = process_->exitCode();
  result.output = QString::fromLocal8Bit(process_->readAllStandardOutput());
  result.errorOutput = QString::fromLocal8Bit(process_->readAllStandardError());
  return result;
}

ToolResult runTool(const QStringList& words, const QProcessEnvironment& environment) {
  return ToolRun(words, environment).wait();
}

bool runProgram(const QString& program, const QStringList& args, QByteArray* output,
                int timeoutMs) {
  QProcess process;
  process.setStandardInputFile(QProcess::nullDevice());
  process.start(program, args);
  if (!process.waitForFinished(timeoutMs)) {
    process.kill();
    process.waitForFinished();
    return false;
  }
  if (output) *output = process.readAllStandardOutput();
  return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool waitForVisibleWindow(const QString& title) {
  return runProgram("xdotool", {"search", "--sync", "--onlyvisible", "--name", "^" + title + "$"});
}

QString selectionTitle() {
  return QStringLiteral("vantorshot-capture: drag an area");
}

QString windowPickerTitle() {
  return QStringLiteral("vantorshot-capture: pick a window");
}
