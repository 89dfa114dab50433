#include "area_selector.h"

#include <algorithm>
#include <cstdlib>

#include "frozen_screen.h"
#include "input_grab.h"
#include "xcb_handles.h"

namespace {

constexpr uint32_t kBorderColour = 0x3d9be9;
constexpr int kBorderReach = 2;  // the border is drawn just outside the selection
constexpr char kSelectorTitle[] = "vantorshot-capture: drag an area";

ScreenRect spanOf(int x0, int y0, int x1, int y1) {
  return {std::min(x0, x1), std::min(y0, y1), std::abs(x1 - x0), std::abs(y1 - y0)};
}

// The pointer stops on a display's last column and row, so a drag that reaches one includes it.
ScreenRect dragArea(int x0, int y0, int x1, int y1, const std::vector<ScreenRect>& displays) {
  ScreenRect area = spanOf(x0, y0, x1, y1);
  if (area.empty()) return area;
  for (const ScreenRect& display : displays) {
    ScreenRect corner = intersect({area.right(), area.bottom(), 1, 1}, display);
    if (corner.empty()) continue;
    if (corner.x == display.right() - 1) ++area.width;
    if (corner.y == display.bottom() - 1) ++area.height;
    break;
  }
  return area;
}

ScreenRect grow(ScreenRect r, int by) {
  return {r.x - by, r.y - by, r.width + 2 * by, r.height + 2 * by};
}

ScreenRect unite(ScreenRect a, ScreenRect b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  int left = std::min(a.x, b.x);
  int top = std::min(a.y, b.y);
  return {left, top, std::max(a.right(), b.right()) - left, std::max(a.bottom(), b.bottom()) - top};
}

// One override-redirect window over the whole root. Its background is None: the server leaves
// what was on screen there until the frozen screen is painted over it.
class Overlay {
 public:
  Overlay(xcb_connection_t* connection, xcb_screen_t* screen)
      : connection_(connection),
        screen_(screen),
        window_(xcb_generate_id(connection)),
        gc_(xcb_generate_id(connection)) {
    uint32_t gcValues[] = {kBorderColour, 2, 0};
    xcb_create_gc(connection, gc_, screen->root,
                  XCB_GC_FOREGROUND | XCB_GC_LINE_WIDTH | XCB_GC_GRAPHICS_EXPOSURES, gcValues);
    uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 1, XCB_EVENT_MASK_EXPOSURE};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0,
                      screen->width_in_pixels, screen->height_in_pixels, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                      XCB_CW_BACK_PIXMAP | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    nameWindow(connection, window_, kSelectorTitle);
  }
  Overlay(const Overlay&) = delete;
  Overlay& operator=(const Overlay&) = delete;
  ~Overlay() {
    xcb_destroy_window(connection_, window_);
    xcb_free_gc(connection_, gc_);
    xcb_flush(connection_);
  }

  // Returns once the server has mapped the window: it tells other clients (and flushes its
  // events) before it gets busy with the copy that follows.
  void show() {
    xcb_map_window(connection_, window_);
    XcbReply<xcb_get_input_focus_reply_t> roundTrip(
        xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
  }

  void showFrozen(const FrozenScreen* frozen) {
    frozen_ = frozen;
    redraw({0, 0, screen_->width_in_pixels, screen_->height_in_pixels});
  }

  void redrawAfterExpose(const xcb_expose_event_t& expose) {
    if (expose.window == window_) redraw({expose.x, expose.y, expose.width, expose.height});
  }

  void select(ScreenRect selection) {
    ScreenRect changed = unite(grow(selection_, kBorderReach), grow(selection, kBorderReach));
    selection_ = selection;
    redraw(changed);
  }

 private:
  void redraw(ScreenRect area) {
    area = intersect(area, {0, 0, screen_->width_in_pixels, screen_->height_in_pixels});
    if (area.empty() || !frozen_) return;
    frozen_->paint(window_, area, true);
    ScreenRect lit = intersect(area, selection_);
    if (!lit.empty()) frozen_->paint(window_, lit, false);
    if (!selection_.empty()) {
      xcb_rectangle_t border{static_cast<int16_t>(selection_.x - 1),
                             static_cast<int16_t>(selection_.y - 1),
                             static_cast<uint16_t>(selection_.width + 2),
                             static_cast<uint16_t>(selection_.height + 2)};
      xcb_poly_rectangle(connection_, window_, gc_, 1, &border);
    }
    xcb_flush(connection_);
  }

  xcb_connection_t* connection_;
  xcb_screen_t* screen_;
  xcb_window_t window_;
  xcb_gcontext_t gc_;
  const FrozenScreen* frozen_ = nullptr;
  ScreenRect selection_;
};

}  // namespace

PickOutcome selectArea(xcb_connection_t* connection, xcb_screen_t* screen, bool composited,
                       const std::vector<ScreenRect>& displays,
                       std::optional<FrozenScreen>& frozen) {
  PickOutcome outcome;
  xcb_render_pictformat_t format = rootPictureFormat(connection, screen);
  // Under a compositor the overlay's contents would not be the screen's: freeze first.
  if (composited) frozen.emplace(connection, screen, format);
  Overlay overlay(connection, screen);
  xcb_cursor_t cursor = createCrosshairCursor(connection);
  InputGrab grab(
      connection, screen->root, cursor,
      XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION);
  xcb_free_cursor(connection, cursor);
  if (!grab.held()) {
    outcome.problem = "another program holds the pointer or keyboard";
    return outcome;
  }
  overlay.show();
  if (!frozen) frozen.emplace(connection, screen, format);
  overlay.showFrozen(&*frozen);

  bool dragging = false;
  int startX = 0;
  int startY = 0;
  auto finish = [&](PickOutcome::Result result, ScreenRect area) {
    outcome.result = result;
    outcome.area = area;
    return outcome;
  };
  while (XcbReply<xcb_generic_event_t> event{xcb_wait_for_event(connection)}) {
    switch (event->response_type & ~0x80) {
      case XCB_EXPOSE:
        overlay.redrawAfterExpose(*reinterpret_cast<xcb_expose_event_t*>(event.get()));
        break;
      case XCB_BUTTON_PRESS: {
        auto* press = reinterpret_cast<xcb_button_press_event_t*>(event.get());
        if (press->detail == 3) return finish(PickOutcome::Result::Cancelled, {});
        if (press->detail == 1) {
          dragging = true;
          startX = press->root_x;
          startY = press->root_y;
        }
        break;
      }
      case XCB_MOTION_NOTIFY: {
        auto* motion = reinterpret_cast<xcb_motion_notify_event_t*>(event.get());
        if (dragging) {
          overlay.select(dragArea(startX, startY, motion->root_x, motion->root_y, displays));
        }
        break;
      }
      case XCB_BUTTON_RELEASE: {
        auto* release = reinterpret_cast<xcb_button_release_event_t*>(event.get());
        if (release->detail != 1 || !dragging) break;
        ScreenRect area = dragArea(startX, startY, release->root_x, release->root_y, displays);
        if (area.empty()) return finish(PickOutcome::Result::Cancelled, {});
        return finish(PickOutcome::Result::Picked, area);
      }
      case XCB_KEY_PRESS:
        if (isEscapeKey(connection,
                        reinterpret_cast<xcb_key_press_event_t*>(event.get())->detail)) {
          return finish(PickOutcome::Result::Cancelled, {});
        }
        break;
      default: break;
    }
  }
  outcome.problem = "the connection to the display was lost";
  return outcome;
}
