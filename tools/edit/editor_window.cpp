#include "editor_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QStatusBar>

#include "clipboard_copy.h"
#include "editor_toolbar.h"
#include "picture_export.h"
#include "picture_reading.h"
#include "pin_window.h"

// After the capture tools' headers: it declares X11's Display, which their enum would shadow.
#include <QGuiApplication>

namespace {

constexpr int kStatusShown = 4000;  // ms

}  // namespace

EditorWindow::EditorWindow(QImage picture, const QString& path) : path_(path) {
  build();
  setPicture(std::move(picture));
}

EditorWindow::EditorWindow(const QString& path,
                           std::function<void(const QString& problem)> unreadable)
    : path_(path), decoder_([this, path, unreadable = std::move(unreadable)] {
        ReadPicture read = readPicture(path);
        // Queued to the window: dropped, not run, should the window be gone by then.
        QMetaObject::invokeMethod(
            this,
            [this, unreadable, read = std::move(read)]() mutable {
              if (read.picture.isNull()) return unreadable(read.problem);
              setPicture(std::move(read.picture));
            },
            Qt::QueuedConnection);
      }) {
  build();
  setEnabled(false);
}

void EditorWindow::build() {
  canvas_ = new EditorCanvas(history_, settings_);
  view_ = new QScrollArea(this);
  view_->setWidget(canvas_);
  view_->setAlignment(Qt::AlignCenter);
  setCentralWidget(view_);
  view_->viewport()->installEventFilter(this);
  addToolBar(buildToolBar(this, settings_));
  addCommands();
  connect(canvas_, &EditorCanvas::edited, this, [this] {
    modified_ = true;
    showTitle();
  });
  connect(canvas_, &EditorCanvas::zoomAsked, this, [this](double factor) { zoomBy(factor); });
  statusBar();
  showTitle();
  resize(1024, 720);
}

void EditorWindow::setPicture(QImage picture) {
  // In place when the picture is not shared: a copy of a 4K picture is 33 MB of fresh pages.
  picture.convertTo(QImage::Format_RGB32);
  history_.now.base = std::move(picture);
  canvas_->pictureChanged();
  if (fitting_) zoomToFit();
  setEnabled(true);
}

void EditorWindow::addCommands() {
  struct Command {
    const char* menu;
    const char* name;
    QKeySequence keys;
    std::function<void()> run;
  };
  const Command commands[] = {
      {"&File", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S), [this] { save(); }},
      {"&File", "Save &As…", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { saveAs(); }},
      {"&File", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C), [this] { copyToClipboard(); }},
      {"&File", "&Pin", QKeySequence(Qt::Key_P), [this] { pin(); }},
      {"&File", "&Quit", QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); }},
      {"&Edit", "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z),
       [this] {
         if (undoChange(history_)) canvas_->pictureChanged();
       }},
      {"&Edit", "&Redo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
       [this] {
         if (redoChange(history_)) canvas_->pictureChanged();
       }},
      {"&Edit", "&Delete", QKeySequence(Qt::Key_Delete), [this] { canvas_->deleteSelected(); }},
      {"&View", "Zoom &In", QKeySequence(Qt::CTRL | Qt::Key_Plus), [this] { zoomBy(1.25); }},
      {"&View", "Zoom &Out", QKeySequence(Qt::CTRL | Qt::Key_Minus), [this] { zoomBy(0.8); }},
      {"&View", "&Fit", QKeySequence(Qt::CTRL | Qt::Key_0),
       [this] {
         fitting_ = true;
         zoomToFit();
       }},
      {"&View", "&100%", QKeySequence(Qt::CTRL | Qt::Key_1),
       [this] {
         fitting_ = false;
         canvas_->setZoom(1);
       }},
  };
  QMap<QString, QMenu*> menus;
  for (const Command& command : commands) {
    QMenu*& menu = menus[command.menu];
    if (!menu) menu = menuBar()->addMenu(tr(command.menu));
    QAction* action = menu->addAction(tr(command.name));
    action->setShortcut(command.keys);
    connect(action, &QAction::triggered, this, [this, run = command.run] {
      canvas_->endTyping();
      run();
    });
  }
}

void EditorWindow::zoomBy(double factor) {
  fitting_ = false;
  canvas_->setZoom(canvas_->zoom() * factor);
}

void EditorWindow::zoomToFit() {
  QSize room = view_->viewport()->size() * canvas_->devicePixelRatioF();
  const QImage& picture = canvas_->rendered();
  if (picture.isNull() || room.isEmpty()) return;
  double zoom =
      std::min(1.0 * room.width() / picture.width(), 1.0 * room.height() / picture.height());
  canvas_->setZoom(std::min(zoom, 1.0));
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event) {
  // The view's room is known only once it has been laid out, after the window's own resize.
  if (watched == view_->viewport() && event->type() == QEvent::Resize && fitting_) zoomToFit();
  return QMainWindow::eventFilter(watched, event);
}

bool EditorWindow::save() {
  if (path_.isEmpty() || !formatForPath(path_)) return saveAs();
  return saveTo(path_);
}

bool EditorWindow::saveAs() {
  QString chosen = QFileDialog::getSaveFileName(
      this, tr("Save As"), path_.isEmpty() ? QStringLiteral("marked-up.png") : path_,
      tr("PNG (*.png);;JPEG (*.jpg *.jpeg);;TIFF (*.tif *.tiff);;BMP (*.bmp);;PDF (*.pdf)"));
  if (chosen.isEmpty()) return false;
  if (!formatForPath(chosen)) chosen += ".png";
  if (!saveTo(chosen)) return false;
  path_ = chosen;
  showTitle();
  return true;
}

bool EditorWindow::saveTo(const QString& path) {
  std::string problem = savePicture(canvas_->rendered(), path, *formatForPath(path));
  if (!problem.empty()) {
    QMessageBox::warning(this, tr("Not saved"), QString::fromStdString(problem));
    return false;
  }
  modified_ = false;
  showTitle();
  statusBar()->showMessage(tr("Saved %1").arg(path), kStatusShown);
  return true;
}

void EditorWindow::copyToClipboard() {
  std::string problem = copyPictureToClipboard(
      canvas_->rendered(), QGuiApplication::platformName().startsWith("wayland"));
  if (!problem.empty()) {
    QMessageBox::warning(this, tr("Not copied"), QString::fromStdString(problem));
    return;
  }
  statusBar()->showMessage(tr("Copied to the clipboard"), kStatusShown);
}

void EditorWindow::pin() {
  QString name = path_.isEmpty() ? tr("clipboard") : QFileInfo(path_).fileName();
  (new PinWindow(canvas_->rendered(), name))->show();
}

void EditorWindow::showTitle() {
  QString name = path_.isEmpty() ? tr("Clipboard picture") : QFileInfo(path_).fileName();
  setWindowTitle(tr("%1%2 — Vantor Shot editor").arg(modified_ ? "*" : "", name));
}

void EditorWindow::closeEvent(QCloseEvent* event) {
  canvas_->endTyping();
  if (!modified_) return event->accept();
  auto answer = QMessageBox::question(
      this, tr("Unsaved changes"), tr("Save the marked-up picture before closing?"),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (answer == QMessageBox::Cancel || (answer == QMessageBox::Save && !save())) {
    event->ignore();
    return;
  }
  event->accept();
}
