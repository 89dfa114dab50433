#pragma once

#include <QMainWindow>

#include "edit_history.h"
#include "editor_canvas.h"

class QScrollArea;

// The editor: the canvas in a scrolling view, the tool bar, and the commands on the picture.
class EditorWindow : public QMainWindow {
 public:
  EditorWindow(const QImage& picture, const QString& path);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void addCommands();
  void zoomBy(double factor);
  void zoomToFit();
  bool save();
  bool saveAs();
  bool saveTo(const QString& path);
  void copyToClipboard();
  void pin();
  void showTitle();

  EditHistory history_;
  ToolSettings settings_;
  EditorCanvas* canvas_;
  QScrollArea* view_;
  QString path_;
  bool fitting_ = true;
  bool modified_ = false;
};
