#include "window_picker.h"

#include <X11/cursorfont.h>

#include <algorithm>
#include <array>
#include <vector>

#include "input_grab.h"
#include "xcb_handles.h"

namespace {

constexpr int kOutlineWidth = 4;
constexpr uint32_t kOutlineColour = 0x3d9be9;
constexpr char kPickerTitle[] = "vantorshot-capture: pick a window";

struct TopLevel {
  xcb_window_t window = XCB_NONE;
  ScreenRect frame;
};

// The four bars of the outline sit just outside the window, so they never cover what the
// capture reads.
class Outline {
 public:
  Outline(xcb_connection_t* connection, xcb_screen_t* screen)
      : connection_(connection), screen_(screen) {
    for (xcb_window_t& bar : bars_) {
      bar = xcb_generate_id(connection);
      uint32_t values[] = {kOutlineColour, 1};
      xcb_create_window(connection, XCB_COPY_FROM_PARENT, bar, screen->root, 0, 0, 1, 1, 0,
                        XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                        XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
      nameWindow(connection, bar, kPickerTitle);
    }
  }
  Outline(const Outline&) = delete;
  Outline& operator=(const Outline&) = delete;
  ~Outline() {
    for (xcb_window_t bar : bars_) xcb_destroy_window(connection_, bar);
    xcb_flush(connection_);
  }

  bool owns(xcb_window_t window) const {
    return std::find(bars_.begin(), bars_.end(), window) != bars_.end();
  }

  void surround(const ScreenRect& r) {
    const ScreenRect pieces[] = {
        {r.x - kOutlineWidth, r.y - kOutlineWidth, r.width + 2 * kOutlineWidth, kOutlineWidth},
        {r.x - kOutlineWidth, r.y + r.height, r.width + 2 * kOutlineWidth, kOutlineWidth},
        {r.x - kOutlineWidth, r.y, kOutlineWidth, r.height},
        {r.x + r.width, r.y, kOutlineWidth, r.height},
    };
    for (std::size_t i = 0; i < bars_.size(); ++i) place(bars_[i], pieces[i]);
    xcb_flush(connection_);
  }

  void hide() {
    for (xcb_window_t bar : bars_) xcb_unmap_window(connection_, bar);
    xcb_flush(connection_);
  }

 private:
  void place(xcb_window_t bar, ScreenRect piece) {
    piece = intersect(piece, {0, 0, screen_->width_in_pixels, screen_->height_in_pixels});
    if (piece.empty()) {
      xcb_unmap_window(connection_, bar);
      return;
    }
    uint32_t values[] = {static_cast<uint32_t>(piece.x), static_cast<uint32_t>(piece.y),
                         static_cast<uint32_t>(piece.width), static_cast<uint32_t>(piece.height),
                         XCB_STACK_MODE_ABOVE};
    xcb_configure_window(connection_, bar,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                             XCB_CONFIG_WINDOW_HEIGHT | XCB_CONFIG_WINDOW_STACK_MODE,
                         values);
    xcb_map_window(connection_, bar);
  }

  xcb_connection_t* connection_;
  xcb_screen_t* screen_;
  std::array<xcb_window_t, 4> bars_{};
};

// The topmost mapped child of the root under (x, y), skipping the outline's own bars. Under a
// reparenting window manager that child is the frame, so the frame is part of the capture.
TopLevel topLevelAt(xcb_connection_t* connection, xcb_screen_t* screen, const Outline& outline,
                    int x, int y) {
  XcbReply<xcb_query_tree_reply_t> tree(
      xcb_query_tree_reply(connection, xcb_query_tree(connection, screen->root), nullptr));
  if (!tree) return {};
  xcb_window_t* children = xcb_query_tree_children(tree.get());
  int count = xcb_query_tree_children_length(tree.get());

  std::vector<xcb_get_window_attributes_cookie_t> attributeCookies;
  std::vector<xcb_get_geometry_cookie_t> geometryCookies;
  for (int i = 0; i < count; ++i) {
    attributeCookies.push_back(xcb_get_window_attributes(connection, children[i]));
    geometryCookies.push_back(xcb_get_geometry(connection, children[i]));
  }
  TopLevel found;
  // Children come bottom to top: the last hit is the topmost.
  for (int i = 0; i < count; ++i) {
    XcbReply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(connection, attributeCookies[i], nullptr));
    XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, geometryCookies[i], nullptr));
    if (!attributes || !geometry || outline.owns(children[i])) continue;
    if (attributes->map_state != XCB_MAP_STATE_VIEWABLE ||
        attributes->_class != XCB_WINDOW_CLASS_INPUT_OUTPUT) {
      continue;
    }
    ScreenRect frame{geometry->x, geometry->y, geometry->width + 2 * geometry->border_width,
                     geometry->height + 2 * geometry->border_width};
    if (x >= frame.x && x < frame.x + frame.width && y >= frame.y && y < frame.y + frame.height) {
      found = {children[i], frame};
    }
  }
  return found;
}

}  // namespace

PickOutcome pickWindow(xcb_connection_t* connection, xcb_screen_t* screen) {
  PickOutcome outcome;
  Outline outline(connection, screen);
  xcb_cursor_t cursor = createFontCursor(connection, XC_crosshair);
  InputGrab grab(
      connection, screen->root, cursor,
      XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION);
  xcb_free_cursor(connection, cursor);
  if (!grab.held()) {
    outcome.problem = "another program holds the pointer or keyboard";
    return outcome;
  }

  TopLevel current;
  auto follow = [&](int x, int y) {
    TopLevel under = topLevelAt(connection, screen, outline, x, y);
    if (under.window == current.window) return;
    current = under;
    if (current.window == XCB_NONE) {
      outline.hide();
    } else {
      outline.surround(current.frame);
    }
  };
  XcbReply<xcb_query_pointer_reply_t> pointer(
      xcb_query_pointer_reply(connection, xcb_query_pointer(connection, screen->root), nullptr));
  if (pointer) follow(pointer->root_x, pointer->root_y);

  bool pressed = false;
  while (XcbReply<xcb_generic_event_t> event{xcb_wait_for_event(connection)}) {
    switch (event->response_type & ~0x80) {
      case XCB_MOTION_NOTIFY: {
        auto* motion = reinterpret_cast<xcb_motion_notify_event_t*>(event.get());
        follow(motion->root_x, motion->root_y);
        break;
      }
      case XCB_BUTTON_PRESS:
        if (reinterpret_cast<xcb_button_press_event_t*>(event.get())->detail == 1) pressed = true;
        break;
      case XCB_BUTTON_RELEASE: {
        auto* release = reinterpret_cast<xcb_button_release_event_t*>(event.get());
        if (release->detail != 1 || !pressed) break;
        pressed = false;
        follow(release->root_x, release->root_y);
        if (current.window == XCB_NONE) break;  // the bare desktop: keep picking
        outline.hide();
        outcome.result = PickOutcome::Result::Picked;
        outcome.area = current.frame;
        return outcome;
      }
      case XCB_KEY_PRESS:
        if (isEscapeKey(connection,
                        reinterpret_cast<xcb_key_press_event_t*>(event.get())->detail)) {
          outcome.result = PickOutcome::Result::Cancelled;
          return outcome;
        }
        break;
      default: break;
    }
  }
  outcome.problem = "the connection to the display was lost";
  return outcome;
}
