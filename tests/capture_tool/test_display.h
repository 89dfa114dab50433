#pragma once

#include <xcb/xcb.h>

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include "xcb_handles.h"

// The test's own client of the Xvfb server that with-xvfb started: it puts known pixels on the
// screen and reads back what the tool's output must match.
class TestDisplay {
 public:
  TestDisplay();
  bool connected() const { return screen_ != nullptr; }
  QSize rootSize() const;

  // What the screen shows now.
  QImage rootImage();

  // Makes `image` the root window's background, so full-screen grabs read exactly it.
  void showOnRoot(const QImage& image);

  // A mapped top-level window whose inside shows `content` and whose border is `borderColour`.
  xcb_window_t showWindow(QPoint position, const QImage& content, int borderWidth,
                          QRgb borderColour);

  struct Cursor {
    QImage image;  // premultiplied ARGB
    QPoint hotSpot;
    QPoint position;
  };
  Cursor cursor();

  // Returns once the server has handled every request sent so far.
  void sync();

 private:
  xcb_pixmap_t uploadPixmap(const QImage& image);

  XcbConnection connection_;
  xcb_screen_t* screen_ = nullptr;
};
