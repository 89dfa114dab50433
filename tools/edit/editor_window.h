#pragma once

#include <QMainWindow>

#include <functional>
#include <thread>

#include "edit_history.h"
#include "editor_canvas.h"

class QScrollArea;

// The editor: the canvas in a scrolling view, the tool bar, and the commands on the picture.
class EditorWindow : public QMainWindow {
 public:
  EditorWindow(QImage picture, const QString& path);
  // The picture of `path`, decoded on a thread of its own while the window comes up: until it
  // is there the window takes no input, and `unreadable` is told why when it cannot be read.
  EditorWindow(const QString& path, std::function<void(const QString& problem)> unreadable);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void build();
  void setPicture(QImage picture);
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
  // Last, so that it is joined before anything it might post to is gone.
  std::jthread decoder_;
};
