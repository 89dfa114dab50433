// Starts a program and prints after how many milliseconds its interactive overlay was ready: the
// pointer held by a grab and, when asked, a window the size of the whole root mapped. Prints
// "timeout" when that does not happen within five seconds. The program is then ended.
//
//   interaction_probe window|grab program args...
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

bool coversRoot(xcb_connection_t* c, xcb_screen_t* screen, xcb_window_t window) {
  Reply<xcb_get_geometry_reply_t> geometry(
      xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
  return geometry && geometry->width == screen->width_in_pixels &&
         geometry->height == screen->height_in_pixels;
}

// Someone else holds the pointer. The probe's own grab, when it gets one, is let go by the very
// next request, so it never keeps the program from grabbing.
bool pointerHeld(xcb_connection_t* c, xcb_screen_t* screen) {
  xcb_grab_pointer_cookie_t cookie =
      xcb_grab_pointer(c, 0, screen->root, 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE,
                       XCB_NONE, XCB_CURRENT_TIME);
  xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
  Reply<xcb_grab_pointer_reply_t> reply(xcb_grab_pointer_reply(c, cookie, nullptr));
  return reply && reply->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: interaction_probe window|grab program args...\n");
    return 2;
  }
  bool windowWanted = std::strcmp(argv[1], "window") == 0;
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) return 2;
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
  free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  Clock::time_point start = Clock::now();
  pid_t child = 0;
  if (posix_spawnp(&child, argv[2], &actions, &attributes, argv + 2, environ) != 0) return 2;

  bool mapped = !windowWanted;
  bool grabbed = false;
  double readyMs = -1;
  while (Clock::now() - start < std::chrono::seconds(5)) {
    while (Reply<xcb_generic_event_t> event{xcb_poll_for_event(c)}) {
      if ((event->response_type & ~0x80) != XCB_MAP_NOTIFY) continue;
      auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event.get());
      mapped = mapped || coversRoot(c, screen, map->window);
    }
    grabbed = grabbed || pointerHeld(c, screen);
    if (mapped && grabbed) {
      readyMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      break;
    }
    pollfd wait{xcb_get_file_descriptor(c), POLLIN, 0};
    poll(&wait, 1, 1);
  }
  kill(-child, SIGTERM);
  waitpid(child, nullptr, 0);
  xcb_disconnect(c);
  if (readyMs < 0) {
    std::puts("timeout");
    return 1;
  }
  std::printf("%.1f\n", readyMs);
  return 0;
}
