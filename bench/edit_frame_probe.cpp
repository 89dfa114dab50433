// Drags a pen stroke across a 4K picture at 100% zoom in the editor's canvas (offscreen) and
// prints the median and the slowest time of one frame, in ms: the pointer's move handled and
// the part of the canvas it changed painted again.
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QScrollArea>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "editor_canvas.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  EditHistory history;
  history.now.base = QImage(3840, 2160, QImage::Format_RGB32);
  history.now.base.fill(QColor(90, 140, 200));
  ToolSettings settings;
  settings.tool = Tool::Pen;
  QScrollArea view;
  auto* canvas = new EditorCanvas(history, settings);
  view.setWidget(canvas);
  view.resize(1920, 1080);
  view.show();
  canvas->setZoom(canvas->devicePixelRatioF());
  app.processEvents();
  auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, canvas->mapToGlobal(at), Qt::LeftButton, buttons, {});
    QApplication::sendEvent(canvas, &event);
  };
  send(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton);
  std::vector<double> frames;
  QElapsedTimer timer;
  for (int i = 0; i < 600; ++i) {
    QPointF at(100 + i * 2.5, 100 + 400 * std::abs(std::sin(i / 40.0)));
    timer.start();
    send(QEvent::MouseMove, at, Qt::LeftButton);
    canvas->repaint();
    frames.push_back(timer.nsecsElapsed() / 1e6);
  }
  send(QEvent::MouseButtonRelease, {1600, 100}, Qt::NoButton);
  std::sort(frames.begin(), frames.end());
  std::printf("%.2f %.2f\n", frames[frames.size() / 2], frames.back());
  return 0;
}
