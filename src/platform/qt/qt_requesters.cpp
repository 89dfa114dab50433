#include "platform/qt/qt_requesters.h"

#include <QApplication>
#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <cstdio>

#include "platform/qt/qt_text.h"

namespace {

QMessageBox::Icon IconFor(AlertIcon icon) {
  switch (icon) {
    case AlertIcon::Caution: return QMessageBox::Warning;
    case AlertIcon::Note: return QMessageBox::Information;
    case AlertIcon::Stop: return QMessageBox::Critical;
    case AlertIcon::Application: break;
  }
  return QMessageBox::NoIcon;
}

// Gives the focus back to the window that had it before a requester ran.
class FocusKeeper {
 public:
  FocusKeeper() : window_(QApplication::activeWindow()) {}
  ~FocusKeeper() {
    if (window_ != nullptr && window_->isVisible()) window_->activateWindow();
  }
  FocusKeeper(const FocusKeeper&) = delete;
  FocusKeeper& operator=(const FocusKeeper&) = delete;

 private:
  QPointer<QWidget> window_;
};

}  // namespace

int QtRequesters::RunAlert(const AlertRequest& request) {
  FocusKeeper focus;
  QMessageBox box;
  box.setWindowTitle(QtText(request.title.substr(0, request.title.find('\n'))));
  // The message is bold, above the plain text that explains it.
  box.setTextFormat(Qt::RichText);
  box.setText("<b>" + QtText(request.title).toHtmlEscaped().replace('\n', "<br>") + "</b>");
  box.setInformativeText(QtText(request.text));
  box.setIcon(IconFor(request.icon));
  if (request.image != nullptr) {
    // Drawn at 64 points whatever the image's pixels: a 128-pixel image is sharp on a
    // double-resolution screen.
    QPixmap picture = *static_cast<QPixmap*>(request.image);
    picture.setDevicePixelRatio(picture.width() / 64.0);
    box.setIconPixmap(picture);
  } else if (request.icon == AlertIcon::Application && !qApp->windowIcon().isNull()) {
    box.setIconPixmap(qApp->windowIcon().pixmap(64, 64));
  }
  if (request.buttons.empty()) {
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return 0;
  }
  std::vector<std::pair<QAbstractButton*, int>> tags;
  for (const AlertButton& button : request.buttons) {
    QPushButton* added = box.addButton(QtText(button.label), QMessageBox::ActionRole);
    tags.emplace_back(added, button.tag);
    if (button.tag == request.escapeTag) box.setEscapeButton(added);
  }
  box.setDefaultButton(static_cast<QPushButton*>(tags.front().first));
  // In front of every other program's windows, with the keyboard.
  box.show();
  box.raise();
  box.activateWindow();
  box.exec();
  for (const auto& [button, tag] : tags) {
    if (box.clickedButton() == button) return tag;
  }
  return -1;
}

std::string QtRequesters::RunFolderChooser(const FolderRequest& request) {
  FocusKeeper focus;
  QFileDialog dialog(nullptr, QtText(request.title));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (!request.startFolder.empty()) dialog.setDirectory(QtText(request.startFolder));
  if (!request.name.empty()) dialog.selectFile(QtText(request.name));
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? std::string() : StdText(chosen.first());
}

std::string QtRequesters::PreferredLanguage() {
  const QStringList languages = QLocale::system().uiLanguages();
  return languages.isEmpty() ? std::string() : StdText(languages.first());
}

int ConsoleRequesters::RunAlert(const AlertRequest& request) {
  std::fprintf(stderr, "%s: %s\n", request.title.c_str(), request.text.c_str());
  return request.buttons.empty() ? 0 : -1;
}
