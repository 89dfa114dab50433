// Starts a program and prints after how many milliseconds its interactive overlay was ready: the
// pointer held by a grab and, when asked, a window the size of the whole root mapped. Prints
// "timeout" when that does not happen within five seconds. The program is then ended.
//
// With "frames" (our selection overlay only) it then moves the pointer through XTest and times
// each frame: from the fake motion until the magnifier's frame shows at its new place (it sits
// 20 pixels right of and below the pointer, in the selection colour). It prints one line for
// the drag, the magnifier alone and a handle moved: the median, the 90th percentile and the
// worst frame in ms.
//
//   interaction_probe window|grab|frames program args...
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

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

constexpr uint32_t kSelectionColour = 0x3d9be9;
constexpr int kMagnifierGap = 20;
constexpr int kFramesEach = 40;

uint32_t pixelAt(xcb_connection_t* c, xcb_screen_t* screen, int x, int y) {
  Reply<xcb_get_image_reply_t> image(xcb_get_image_reply(
      c,
      xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, static_cast<int16_t>(x),
                    static_cast<int16_t>(y), 1, 1, ~0U),
      nullptr));
  if (!image || xcb_get_image_data_length(image.get()) < 4) return 0;
  const uint8_t* b = xcb_get_image_data(image.get());
  return (b[0] | b[1] << 8 | b[2] << 16) & 0xffffffU;
}

void fake(xcb_connection_t* c, xcb_screen_t* screen, uint8_t type, uint8_t button, int x, int y) {
  xcb_test_fake_input(c, type, button, XCB_CURRENT_TIME, screen->root, static_cast<int16_t>(x),
                      static_cast<int16_t>(y), 0);
  xcb_flush(c);
}

// Moves the pointer to (x, y) and waits for the frame that shows it; its time in ms, or -1.
// There is no event for pixels on the screen, so the probe looks every 0.1 ms.
double frameAfterMotion(xcb_connection_t* c, xcb_screen_t* screen, int x, int y) {
  Clock::time_point start = Clock::now();
  fake(c, screen, XCB_MOTION_NOTIFY, 0, x, y);
  while (Clock::now() - start < std::chrono::seconds(2)) {
    if (pixelAt(c, screen, x + kMagnifierGap, y + kMagnifierGap) == kSelectionColour) {
      return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
  return -1;
}

// Frames between two pointer places a few pixels apart, as a hand moves it.
bool timeFrames(xcb_connection_t* c, xcb_screen_t* screen, const char* what, int x, int y) {
  // The first frame spans the whole change from the last place: not one a hand makes.
  if (frameAfterMotion(c, screen, x + 12, y + 7) < 0) return false;
  std::vector<double> frames;
  for (int i = 0; i < kFramesEach; ++i) {
    double ms = frameAfterMotion(c, screen, x + (i % 2) * 12, y + (i % 2) * 7);
    if (ms < 0) return false;
    frames.push_back(ms);
  }
  std::sort(frames.begin(), frames.end());
  std::printf("%s %.1f %.1f %.1f\n", what, frames[frames.size() / 2],
              frames[frames.size() * 9 / 10], frames.back());
  return true;
}

// A drag over most of the screen, the magnifier moving over the adjustable selection, then the
// selection's lower right handle dragged.
bool measureFrames(xcb_connection_t* c, xcb_screen_t* screen) {
  int width = screen->width_in_pixels, height = screen->height_in_pixels;
  int right = width * 3 / 4, bottom = height * 3 / 4;
  if (frameAfterMotion(c, screen, 100, 100) < 0) return false;  // the first paint is over
  fake(c, screen, XCB_BUTTON_PRESS, 1, 100, 100);
  if (!timeFrames(c, screen, "drag", right, bottom)) return false;
  fake(c, screen, XCB_BUTTON_RELEASE, 1, right, bottom);
  if (!timeFrames(c, screen, "magnifier", width / 2, height / 2)) return false;
  frameAfterMotion(c, screen, right, bottom);
  fake(c, screen, XCB_BUTTON_PRESS, 1, right, bottom);
  bool timed = timeFrames(c, screen, "handle", right, bottom);
  fake(c, screen, XCB_BUTTON_RELEASE, 1, right, bottom);
  return timed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: interaction_probe window|grab|frames program args...\n");
    return 2;
  }
  bool framesWanted = std::strcmp(argv[1], "frames") == 0;
  bool windowWanted = framesWanted || std::strcmp(argv[1], "window") == 0;
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
  bool measured = readyMs >= 0 && (!framesWanted || measureFrames(c, screen));
  kill(-child, SIGTERM);
  waitpid(child, nullptr, 0);
  xcb_disconnect(c);
  if (!measured) {
    std::puts("timeout");
    return 1;
  }
  if (!framesWanted) std::printf("%.1f\n", readyMs);
  return 0;
}
