// Starts the editor and prints after how many milliseconds the middle of its first mapped
// window shows the colour given (the middle of the picture, fitted); "timeout" after ten
// seconds. The editor is then ended.
//
//   edit_start_probe RRGGBB program args...
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

extern char** environ;

namespace {

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

// The root's pixel at the middle of `window`, 0xRRGGBB, or -1.
long middlePixel(xcb_connection_t* c, xcb_window_t root, xcb_window_t window) {
  Reply<xcb_get_geometry_reply_t> g(
      xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
  if (!g) return -1;
  Reply<xcb_translate_coordinates_reply_t> at(xcb_translate_coordinates_reply(
      c, xcb_translate_coordinates(c, window, root, g->width / 2, g->height / 2), nullptr));
  if (!at) return -1;
  Reply<xcb_get_image_reply_t> image(xcb_get_image_reply(
      c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, at->dst_x, at->dst_y, 1, 1, ~0u),
      nullptr));
  if (!image || xcb_get_image_data_length(image.get()) < 4) return -1;
  const uint8_t* p = xcb_get_image_data(image.get());
  return (p[2] << 16) | (p[1] << 8) | p[0];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  long wanted = std::strtol(argv[1], nullptr, 16);
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) return 2;
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
  std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
  auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  if (posix_spawnp(&child, argv[2], nullptr, nullptr, argv + 2, environ) != 0) return 2;
  xcb_window_t window = XCB_NONE;
  double readyMs = -1;
  while (std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
    while (Reply<xcb_generic_event_t> event{xcb_poll_for_event(c)}) {
      if ((event->response_type & ~0x80) != XCB_MAP_NOTIFY || window != XCB_NONE) continue;
      window = reinterpret_cast<xcb_map_notify_event_t*>(event.get())->window;
    }
    if (window != XCB_NONE && middlePixel(c, screen->root, window) == wanted) {
      readyMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
      break;
    }
    pollfd wait{xcb_get_file_descriptor(c), POLLIN, 0};
    poll(&wait, 1, 1);
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  xcb_disconnect(c);
  if (readyMs < 0) return std::puts("timeout"), 1;
  std::printf("%.1f\n", readyMs);
  return 0;
}
