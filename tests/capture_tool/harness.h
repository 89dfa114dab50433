#pragma once

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>

#include "xcb_handles.h"

// Coloured 16x16 blocks with a little per-pixel noise: every pixel differs from its neighbours,
// so any shift or swap shows, while the blocks keep JPEG's error small.
QImage blockPattern(int width, int height, unsigned seed);

// Qt's decoder, ImageMagick's (an independent second one), and the one image inside a PDF.
QImage readImage(const QString& path);
QImage readWithImageMagick(const QString& path);
QImage readPdfImage(const QString& path);

// Pixels where a colour channel differs by more than `tolerance`; -1 when the sizes differ.
long long differingPixels(const QImage& a, const QImage& b, int tolerance = 0);

// Runs an outside program to its end; true when it exited with status 0.
bool runProgram(const QString& program, const QStringList& args, QByteArray* output = nullptr);
bool xdotool(const QStringList& args);
// Asks until `done` says yes or ten seconds have passed; its last answer.
bool eventually(const std::function<bool()>& done);

struct ToolResult {
  int exitCode = -1;  // -1 when the tool did not exit by itself
  QString output;
  QString errorOutput;
};

// The capture tool as a child process.
class ToolRun {
 public:
  explicit ToolRun(const QStringList& words, const QProcessEnvironment& environment =
                                                 QProcessEnvironment::systemEnvironment());
  ToolResult wait();
  QProcess process;
};
ToolResult runTool(const QStringList& words, const QProcessEnvironment& environment =
                                                 QProcessEnvironment::systemEnvironment());

// The overlays are titled only once the tool holds the pointer and keyboard.
bool waitForOverlay(const char* title);
constexpr char kSelectionTitle[] = "vantorshot-capture: drag an area";
constexpr char kPickerTitle[] = "vantorshot-capture: pick a window";

// Exit status 2 with one line of complaint that names `mentions`, and nothing on stdout.
void expectRefused(const ToolResult& result, const QString& mentions = {});

// The test's own client of the Xvfb server that with-xvfb started.
class TestDisplay {
 public:
  TestDisplay();
  bool connected() const { return screen_ != nullptr; }
  QSize rootSize() const { return {screen_->width_in_pixels, screen_->height_in_pixels}; }
  // Makes `image` the root's background, so full-screen grabs read exactly it.
  void showOnRoot(const QImage& image);
  void showWindow(QPoint position, const QImage& content, int borderWidth, QRgb borderColour);
  struct Cursor {
    QImage image;  // premultiplied ARGB
    QPoint topLeft;
  };
  Cursor cursor();
  bool grabKeyboard();  // held until this client disconnects

 private:
  xcb_pixmap_t upload(const QImage& image);
  void sync();
  XcbConnection connection_;
  xcb_screen_t* screen_ = nullptr;
};

// A test pattern on the whole screen and an empty folder for the files.
class ScreenTest : public testing::Test {
 protected:
  void SetUp() override;
  QString file(const QString& name) const { return folder.filePath(name); }
  // with-xvfb --two-monitors puts the main display on the left.
  QImage mainDisplay() const { return screen.copy(0, 0, screen.width() / 2, screen.height()); }
  QStringList entries() const;

  TestDisplay display;
  QImage screen;
  QTemporaryDir folder;
};
