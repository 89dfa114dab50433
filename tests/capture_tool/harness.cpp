#include "harness.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xfixes.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <string>
#include <vector>

namespace {

uint32_t mix(uint32_t x) {
  x = (x ^ (x >> 16)) * 0x7feb352dU;
  x = (x ^ (x >> 15)) * 0x846ca68bU;
  return x ^ (x >> 16);
}

}  // namespace

QImage blockPattern(int width, int height, unsigned seed) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint32_t block = mix(seed * 7919U + static_cast<uint32_t>((y / 16) * 4096 + x / 16));
      uint32_t noise = mix(seed ^ static_cast<uint32_t>(y * 65536 + x));
      image.setPixel(x, y, (block & 0xf8f8f8) | (noise & 0x070707) | 0xff000000);
    }
  }
  return image;
}

QImage readImage(const QString& path) {
  return QImage(path).convertToFormat(QImage::Format_RGB32);
}

QImage readWithImageMagick(const QString& path) {
  QByteArray ppm;
  if (!runProgram("/usr/bin/convert", {path, "-depth", "8", "ppm:-"}, &ppm)) return {};
  return QImage::fromData(ppm, "PPM").convertToFormat(QImage::Format_RGB32);
}

QImage readPdfImage(const QString& path) {
  QTemporaryDir folder;
  if (!runProgram("pdfimages", {"-png", path, folder.filePath("image")})) return {};
  QStringList images = QDir(folder.path()).entryList({"image-*.png"});
  return images.size() == 1 ? readImage(folder.filePath(images.front())) : QImage();
}

long long differingPixels(const QImage& a, const QImage& b, int tolerance) {
  if (a.size() != b.size() || a.isNull()) return -1;
  const QImage left = a.convertToFormat(QImage::Format_RGB32);
  const QImage right = b.convertToFormat(QImage::Format_RGB32);
  long long count = 0;
  for (int y = 0; y < left.height(); ++y) {
    auto* l = reinterpret_cast<const QRgb*>(left.constScanLine(y));
    auto* r = reinterpret_cast<const QRgb*>(right.constScanLine(y));
    for (int x = 0; x < left.width(); ++x) {
      count += std::max({std::abs(qRed(l[x]) - qRed(r[x])), std::abs(qGreen(l[x]) - qGreen(r[x])),
                         std::abs(qBlue(l[x]) - qBlue(r[x]))}) > tolerance;
    }
  }
  return count;
}

// Spawned rather than started through QProcess: Qt's child runs in the parent's memory and
// calls through ThreadSanitizer's hooks there, which muddles what it knows of the main thread.
bool runProgram(const QString& program, const QStringList& args, QByteArray* output) {
  std::vector<std::string> words{program.toStdString()};
  for (const QString& arg : args) words.push_back(arg.toStdString());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  pid_t pid = -1;
  const bool started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  QByteArray printed;
  const QDeadlineTimer deadline(15000);
  while (started) {
    pollfd readable{pipeEnds[0], POLLIN, 0};
    const int ready = poll(&readable, 1, static_cast<int>(deadline.remainingTime()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) {
      kill(pid, SIGKILL);
      break;
    }
    char buffer[65536];
    const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
    if (got <= 0) break;
    printed.append(buffer, got);
  }
  close(pipeEnds[0]);
  int status = 0;
  if (!started || waitpid(pid, &status, 0) != pid) return false;
  if (output) *output = printed;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool xdotool(const QStringList& args) {
  return runProgram("xdotool", args);
}

bool eventually(const std::function<bool()>& done) {
  for (QDeadlineTimer deadline(10000); !deadline.hasExpired(); QThread::msleep(20)) {
    if (done()) return true;
  }
  return done();
}

ToolRun::ToolRun(const QStringList& words, const QProcessEnvironment& environment) {
  process.setProcessEnvironment(environment);
  process.setStandardInputFile(QProcess::nullDevice());
  process.start(QStringLiteral(CAPTURE_TOOL_PATH), words);
}

ToolResult ToolRun::wait() {
  ToolResult result;
  if (!process.waitForFinished(20000)) process.kill();
  process.waitForFinished();
  if (process.exitStatus() == QProcess::NormalExit) result.exitCode = process.exitCode();
  result.output = QString::fromLocal8Bit(process.readAllStandardOutput());
  result.errorOutput = QString::fromLocal8Bit(process.readAllStandardError());
  return result;
}

ToolResult runTool(const QStringList& words, const QProcessEnvironment& environment) {
  return ToolRun(words, environment).wait();
}

bool waitForOverlay(const char* title) {
  return xdotool({"search", "--sync", "--onlyvisible", "--name", QString("^%1$").arg(title)});
}

void expectRefused(const ToolResult& result, const QString& mentions) {
  const std::string said = result.errorOutput.toStdString();
  EXPECT_EQ(result.exitCode, 2) << said;
  EXPECT_TRUE(result.output.isEmpty()) << result.output.toStdString();
  EXPECT_TRUE(result.errorOutput.startsWith("vantorshot-capture: ")) << said;
  EXPECT_EQ(result.errorOutput.count('\n'), 1) << said;
  EXPECT_TRUE(result.errorOutput.contains(mentions)) << said;
}

TestDisplay::TestDisplay() : connection_(xcb_connect(nullptr, nullptr)) {
  if (xcb_connection_has_error(connection_.get())) return;
  screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_.get())).data;
}

xcb_pixmap_t TestDisplay::upload(const QImage& source) {
  QImage image = source.convertToFormat(QImage::Format_RGB32);
  xcb_connection_t* c = connection_.get();
  xcb_pixmap_t pixmap = xcb_generate_id(c);
  xcb_create_pixmap(c, screen_->root_depth, pixmap, screen_->root,
                    static_cast<uint16_t>(image.width()), static_cast<uint16_t>(image.height()));
  xcb_gcontext_t gc = xcb_generate_id(c);
  xcb_create_gc(c, gc, pixmap, 0, nullptr);
  const int rowBytes = image.width() * 4;
  const int rowsAtOnce =
      std::max(1, static_cast<int>((xcb_get_maximum_request_length(c) * 4 - 64) / rowBytes));
  for (int y = 0; y < image.height(); y += rowsAtOnce) {
    int rows = std::min(rowsAtOnce, image.height() - y);
    xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, static_cast<uint16_t>(image.width()),
                  static_cast<uint16_t>(rows), 0, static_cast<int16_t>(y), 0, screen_->root_depth,
                  static_cast<uint32_t>(rowBytes * rows), image.constScanLine(y));
  }
  xcb_free_gc(c, gc);
  return pixmap;
}

void TestDisplay::showOnRoot(const QImage& image) {
  xcb_connection_t* c = connection_.get();
  xcb_pixmap_t pixmap = upload(image);
  xcb_change_window_attributes(c, screen_->root, XCB_CW_BACK_PIXMAP, &pixmap);
  xcb_clear_area(c, 0, screen_->root, 0, 0, 0, 0);
  xcb_free_pixmap(c, pixmap);  // the root keeps it while it is the background
  sync();
}

void TestDisplay::showWindow(QPoint position, const QImage& content, int borderWidth,
                             QRgb borderColour) {
  xcb_connection_t* c = connection_.get();
  xcb_pixmap_t pixmap = upload(content);
  xcb_window_t window = xcb_generate_id(c);
  uint32_t values[] = {pixmap, borderColour & 0xffffff};
  xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen_->root,
                    static_cast<int16_t>(position.x()), static_cast<int16_t>(position.y()),
                    static_cast<uint16_t>(content.width()), static_cast<uint16_t>(content.height()),
                    static_cast<uint16_t>(borderWidth), XCB_WINDOW_CLASS_INPUT_OUTPUT,
                    XCB_COPY_FROM_PARENT, XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL, values);
  xcb_map_window(c, window);
  xcb_free_pixmap(c, pixmap);
  sync();
}

TestDisplay::Cursor TestDisplay::cursor() {
  xcb_connection_t* c = connection_.get();
  XcbReply<xcb_xfixes_query_version_reply_t> version(
      xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 4, 0), nullptr));
  XcbReply<xcb_xfixes_get_cursor_image_reply_t> reply(
      xcb_xfixes_get_cursor_image_reply(c, xcb_xfixes_get_cursor_image(c), nullptr));
  if (!version || !reply) return {};
  QImage image(
      reinterpret_cast<const uchar*>(xcb_xfixes_get_cursor_image_cursor_image(reply.get())),
      reply->width, reply->height, QImage::Format_ARGB32_Premultiplied);
  return {image.copy(), QPoint(reply->x - reply->xhot, reply->y - reply->yhot)};
}

bool TestDisplay::grabKeyboard() {
  xcb_connection_t* c = connection_.get();
  XcbReply<xcb_grab_keyboard_reply_t> reply(
      xcb_grab_keyboard_reply(c,
                              xcb_grab_keyboard(c, 0, screen_->root, XCB_CURRENT_TIME,
                                                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                              nullptr));
  return reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
}

void TestDisplay::sync() {
  xcb_connection_t* c = connection_.get();
  XcbReply<xcb_get_input_focus_reply_t> reply(
      xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

void ScreenTest::SetUp() {
  ASSERT_TRUE(display.connected()) << "these tests run under with-xvfb";
  screen = blockPattern(display.rootSize().width(), display.rootSize().height(), 11);
  display.showOnRoot(screen);
}

QStringList ScreenTest::entries() const {
  return QDir(folder.path())
      .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
