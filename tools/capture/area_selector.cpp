#include "area_selector.h"

#include <algorithm>
#include <cstdlib>

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
  if (a.width <= 0 || a.height <= 0) return b;
  if (b.width <= 0 || b.height <= 0) return a;
  int left = std::min(a.x, b.x);
  int top = std::min(a.y, b.y);
  int right = std::max(a.x + a.width, b.x + b.width);
  int bottom = std::max(a.y + a.height, b.y + b.height);
  return {left, top, right - left, bottom - top};
}

PixelImage dimmedCopy(const PixelImage& image) {
  PixelImage dim = allocatePixelImage(image.width, image.height);
  for (int y = 0; y < image.height; ++y) {
    const uint32_t* src = image.row(y);
    uint32_t* dst = dim.row(y);
    for (int x = 0; x < image.width; ++x) dst[x] = (src[x] >> 1) & 0x7f7f7f;
  }
  return dim;
}

class Overlays {
 public:
  Overlays(xcb_connection_t* connection, xcb_screen_t* screen,
           const std::vector<ScreenRect>& displays, const PixelImage& frozen)
      : connection_(connection), screen_(screen), displays_(displays) {
    bright_ = upload(frozen);
    dim_ = upload(dimmedCopy(frozen));
    gc_ = xcb_generate_id(connection);
    uint32_t gcValues[] = {kBorderColour, 2, 0};
    xcb_create_gc(connection, gc_, screen->root,
                  XCB_GC_FOREGROUND | XCB_GC_LINE_WIDTH | XCB_GC_GRAPHICS_EXPOSURES, gcValues);
    for (const ScreenRect& display : displays) {
      xcb_window_t window = xcb_generate_id(connection);
      uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 1, XCB_EVENT_MASK_EXPOSURE};
      xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root,
                        static_cast<int16_t>(display.x), static_cast<int16_t>(display.y),
                        static_cast<uint16_t>(display.width), static_cast<uint16_t>(display.height),
                        0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                        XCB_CW_BACK_PIXMAP | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
      windows_.push_back(window);
    }
  }
  Overlays(const Overlays&) = delete;
  Overlays& operator=(const Overlays&) = delete;
  ~Overlays() {
    for (xcb_window_t window : windows_) xcb_destroy_window(connection_, window);
    xcb_free_gc(connection_, gc_);
    xcb_free_pixmap(connection_, bright_);
    xcb_free_pixmap(connection_, dim_);
    xcb_flush(connection_);
  }

  xcb_window_t first() const { return windows_.front(); }

  // Maps every overlay and returns once all of them are on screen.
  bool show() {
    for (xcb_window_t window : windows_) xcb_map_window(connection_, window);
    xcb_flush(connection_);
    std::vector<bool> exposed(windows_.size(), false);
    while (std::find(exposed.begin(), exposed.end(), false) != exposed.end()) {
      XcbReply<xcb_generic_event_t> event(xcb_wait_for_event(connection_));
      if (!event) return false;
      if ((event->response_type & ~0x80) != XCB_EXPOSE) continue;
      auto* expose = reinterpret_cast<xcb_expose_event_t*>(event.get());
      auto it = std::find(windows_.begin(), windows_.end(), expose->window);
      if (it != windows_.end()) exposed[it - windows_.begin()] = true;
    }
    redraw(wholeRoot());
    return true;
  }

  void nameAll(const char* title) {
    for (xcb_window_t window : windows_) nameWindow(connection_, window, title);
    xcb_flush(connection_);
  }

  void redrawAfterExpose(const xcb_expose_event_t& expose) {
    auto it = std::find(windows_.begin(), windows_.end(), expose.window);
    if (it == windows_.end()) return;
    const ScreenRect& display = displays_[it - windows_.begin()];
    redraw({display.x + expose.x, display.y + expose.y, expose.width, expose.height});
  }

  void select(ScreenRect selection) {
    ScreenRect changed = unite(grow(selection_, kBorderReach), grow(selection, kBorderReach));
    selection_ = selection;
    redraw(changed);
  }

 private:
  ScreenRect wholeRoot() const {
    return {0, 0, screen_->width_in_pixels, screen_->height_in_pixels};
  }

  // Pixels cross the socket in pieces that fit the server's largest request.
  xcb_pixmap_t upload(const PixelImage& image) {
    xcb_pixmap_t pixmap = xcb_generate_id(connection_);
    xcb_create_pixmap(connection_, screen_->root_depth, pixmap, screen_->root,
                      static_cast<uint16_t>(image.width), static_cast<uint16_t>(image.height));
    xcb_gcontext_t gc = xcb_generate_id(connection_);
    xcb_create_gc(connection_, gc, pixmap, 0, nullptr);
    std::size_t maxBytes =
        static_cast<std::size_t>(xcb_get_maximum_request_length(connection_)) * 4;
    std::size_t rowBytes = static_cast<std::size_t>(image.width) * 4;
    int rowsPerRequest = std::max<int>(1, static_cast<int>((maxBytes - 64) / rowBytes));
    for (int y = 0; y < image.height; y += rowsPerRequest) {
      int rows = std::min(rowsPerRequest, image.height - y);
      PixelImage strip = cropPixelImage(image, 0, y, image.width, rows);
      // Rows must be contiguous for one request; crops of a full-width image are.
      xcb_put_image(
          connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, static_cast<uint16_t>(image.width),
          static_cast<uint16_t>(rows), 0, static_cast<int16_t>(y), 0, screen_->root_depth,
          static_cast<uint32_t>(rowBytes * rows), reinterpret_cast<const uint8_t*>(strip.pixels));
    }
    xcb_free_gc(connection_, gc);
    return pixmap;
  }

  void redraw(ScreenRect area) {
    for (std::size_t i = 0; i < windows_.size(); ++i) {
      const ScreenRect& display = displays_[i];
      ScreenRect part = intersect(area, display);
      if (part.width == 0) continue;
      copy(dim_, windows_[i], display, part);
      ScreenRect lit = intersect(part, selection_);
      if (lit.width > 0) copy(bright_, windows_[i], display, lit);
      if (selection_.width > 0 && selection_.height > 0) {
        xcb_rectangle_t border{static_cast<int16_t>(selection_.x - display.x - 1),
                               static_cast<int16_t>(selection_.y - display.y - 1),
                               static_cast<uint16_t>(selection_.width + 1),
                               static_cast<uint16_t>(selection_.height + 1)};
        xcb_poly_rectangle(connection_, windows_[i], gc_, 1, &border);
      }
    }
    xcb_flush(connection_);
  }

  void copy(xcb_pixmap_t from, xcb_window_t to, const ScreenRect& display, ScreenRect part) {
    xcb_copy_area(connection_, from, to, gc_, static_cast<int16_t>(part.x),
                  static_cast<int16_t>(part.y), static_cast<int16_t>(part.x - display.x),
                  static_cast<int16_t>(part.y - display.y), static_cast<uint16_t>(part.width),
                  static_cast<uint16_t>(part.height));
  }

  xcb_connection_t* connection_;
  xcb_screen_t* screen_;
  std::vector<ScreenRect> displays_;
  std::vector<xcb_window_t> windows_;
  xcb_pixmap_t bright_ = XCB_NONE;
  xcb_pixmap_t dim_ = XCB_NONE;
  xcb_gcontext_t gc_ = XCB_NONE;
  ScreenRect selection_;
};

}  // namespace

PickOutcome selectArea(xcb_connection_t* connection, xcb_screen_t* screen,
                       const std::vector<ScreenRect>& displays, const PixelImage& frozen) {
  PickOutcome outcome;
  Overlays overlays(connection, screen, displays, frozen);
  if (!overlays.show()) {
    outcome.problem = "the connection to the display was lost";
    return outcome;
  }
  xcb_cursor_t cursor = createCrosshairCursor(connection);
  InputGrab grab(
      connection, overlays.first(), cursor,
      XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION);
  xcb_free_cursor(connection, cursor);
  if (!grab.held()) {
    outcome.problem = "another program holds the pointer or keyboard";
    return outcome;
  }
  // The title appears only now, so whoever waits for it knows clicks and keys reach us.
  overlays.nameAll(kSelectorTitle);

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
        overlays.redrawAfterExpose(*reinterpret_cast<xcb_expose_event_t*>(event.get()));
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
          overlays.select(dragArea(startX, startY, motion->root_x, motion->root_y, displays));
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
      default:
        break;
    }
  }
  outcome.problem = "the connection to the display was lost";
  return outcome;
}
