#include "selection_overlay.h"

#include <algorithm>
#include <cstdio>

#include "input_grab.h"
#include "selection_geometry.h"
#include "xcb_handles.h"

namespace {

constexpr uint32_t kBorderColour = 0x3d9be9;
constexpr uint32_t kPlateColour = 0x202020;
constexpr uint32_t kTextColour = 0xffffff;
constexpr uint32_t kGridColour = 0x000000;
constexpr int kBorderReach = 2;  // the border is drawn just outside the selection
constexpr int kHandleHalf = 3;   // handles are 7x7 squares
constexpr int kPlatePadding = 3;
constexpr int kCells = 15;  // the magnifier shows 15x15 pixels...
constexpr int kZoom = 8;    // ...each 8x8
constexpr int kMagnifierSide = kCells * kZoom + 2;
constexpr int kMagnifierGap = 20;  // between the pointer and the magnifier
constexpr char kSelectorTitle[] = "vantorshot-capture: drag an area";

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

// Where the dimming or the border changes between two selections: their joint bounds but for
// what both keep lit.
std::vector<ScreenRect> changedBetween(ScreenRect before, ScreenRect after) {
  ScreenRect bounds = unite(before.empty() ? before : grow(before, kBorderReach),
                            after.empty() ? after : grow(after, kBorderReach));
  ScreenRect kept = intersect(before, after);
  if (kept.empty()) return {bounds};
  return {
      {bounds.x, bounds.y, bounds.width, kept.y - bounds.y},
      {bounds.x, kept.bottom(), bounds.width, bounds.bottom() - kept.bottom()},
      {bounds.x, kept.y, kept.x - bounds.x, kept.height},
      {kept.right(), kept.y, bounds.right() - kept.right(), kept.height},
  };
}

xcb_rectangle_t toXcb(ScreenRect r) {
  return {static_cast<int16_t>(r.x), static_cast<int16_t>(r.y), static_cast<uint16_t>(r.width),
          static_cast<uint16_t>(r.height)};
}

// Keeps `r` on the screen, moving it rather than cutting it.
ScreenRect onScreen(ScreenRect r, ScreenRect screen) {
  r.x = std::clamp(r.x, 0, std::max(0, screen.width - r.width));
  r.y = std::clamp(r.y, 0, std::max(0, screen.height - r.height));
  return r;
}

}  // namespace

SelectionOverlay::SelectionOverlay(xcb_connection_t* connection, xcb_screen_t* screen,
                                   xcb_render_pictformat_t format)
    : connection_(connection),
      screen_(screen),
      format_(format),
      window_(xcb_generate_id(connection)) {
  borderGc_ = makeGc(kBorderColour, 2);
  frameGc_ = makeGc(kBorderColour, 0);
  handleGc_ = makeGc(kTextColour, 0);
  plateGc_ = makeGc(kPlateColour, 0);
  gridGc_ = makeGc(kGridColour, 0);
  markGc_ = makeGc(kTextColour, 0);
  uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 1, XCB_EVENT_MASK_EXPOSURE};
  xcb_create_window(connection, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0,
                    screen->width_in_pixels, screen->height_in_pixels, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                    XCB_CW_BACK_PIXMAP | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
  nameWindow(connection, window_, kSelectorTitle);
}

SelectionOverlay::~SelectionOverlay() {
  for (xcb_render_picture_t picture : {zoomed_, target_}) {
    if (picture != XCB_NONE) xcb_render_free_picture(connection_, picture);
  }
  xcb_destroy_window(connection_, window_);
  for (xcb_gcontext_t gc : {borderGc_, frameGc_, handleGc_, plateGc_, gridGc_, markGc_}) {
    xcb_free_gc(connection_, gc);
  }
  if (font_ != XCB_NONE) {
    xcb_free_gc(connection_, textGc_);
    xcb_close_font(connection_, font_);
  }
  xcb_flush(connection_);
}

xcb_gcontext_t SelectionOverlay::makeGc(uint32_t foreground, uint32_t lineWidth) {
  xcb_gcontext_t gc = xcb_generate_id(connection_);
  uint32_t values[] = {foreground, lineWidth, 0};
  xcb_create_gc(connection_, gc, screen_->root,
                XCB_GC_FOREGROUND | XCB_GC_LINE_WIDTH | XCB_GC_GRAPHICS_EXPOSURES, values);
  return gc;
}

void SelectionOverlay::show() {
  xcb_map_window(connection_, window_);
  XcbReply<xcb_get_input_focus_reply_t> roundTrip(
      xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

void SelectionOverlay::showFrozen(const FrozenScreen* frozen) {
  frozen_ = frozen;
  paintBase({0, 0, screen_->width_in_pixels, screen_->height_in_pixels});
  drawDecorations();
  xcb_flush(connection_);
  // Only now that the user sees the overlay: the server takes a while to load a font, and the
  // round trips cost no readiness. The core "fixed" font is on every X server, Xvfb's included.
  font_ = xcb_generate_id(connection_);
  xcb_open_font(connection_, font_, 5, "fixed");
  textGc_ = xcb_generate_id(connection_);
  uint32_t textValues[] = {kTextColour, kPlateColour, font_, 0};
  xcb_create_gc(connection_, textGc_, screen_->root,
                XCB_GC_FOREGROUND | XCB_GC_BACKGROUND | XCB_GC_FONT | XCB_GC_GRAPHICS_EXPOSURES,
                textValues);
  XcbReply<xcb_query_font_reply_t> metrics(
      xcb_query_font_reply(connection_, xcb_query_font(connection_, font_), nullptr));
  if (metrics) {
    glyphWidth_ = metrics->max_bounds.character_width;
    ascent_ = metrics->font_ascent;
    descent_ = metrics->font_descent;
  }
  if (format_ == XCB_NONE) return;
  // The magnifier scales the frozen screen in the server: nearest pixels, kZoom times.
  zoomed_ = xcb_generate_id(connection_);
  target_ = xcb_generate_id(connection_);
  xcb_render_create_picture(connection_, zoomed_, frozen->pixmap(), format_, 0, nullptr);
  xcb_render_create_picture(connection_, target_, window_, format_, 0, nullptr);
}

void SelectionOverlay::redrawAfterExpose(const xcb_expose_event_t& expose) {
  if (expose.window != window_) return;
  paintBase({expose.x, expose.y, expose.width, expose.height});
  drawDecorations();
  xcb_flush(connection_);
}

void SelectionOverlay::update(const OverlayView& view) {
  std::vector<ScreenRect> damaged = changedBetween(view_.selection, view.selection);
  for (ScreenRect r : decorations(view_)) damaged.push_back(r);
  view_ = view;
  for (ScreenRect r : decorations(view_)) damaged.push_back(r);
  for (ScreenRect r : damaged) paintBase(r);
  drawDecorations();
  xcb_flush(connection_);
}

std::vector<ScreenRect> SelectionOverlay::decorations(const OverlayView& view) const {
  std::vector<ScreenRect> drawn;
  if (!view.selection.empty()) {
    drawn.push_back(readoutPlate(view.selection).area);
    if (view.handles) {
      for (const Handle& handle : handlesOf(view.selection)) {
        drawn.push_back({handle.x - kHandleHalf, handle.y - kHandleHalf, 2 * kHandleHalf + 1,
                         2 * kHandleHalf + 1});
      }
    }
  }
  if (view.pointerSeen) drawn.push_back(magnifierBox(view));
  return drawn;
}

// "width x height" just above the selection; below it when there is no room above, and inside
// when there is none below either.
SelectionOverlay::Plate SelectionOverlay::readoutPlate(ScreenRect selection) const {
  Plate plate;
  plate.text = std::to_string(selection.width) + " x " + std::to_string(selection.height);
  ScreenRect screen{0, 0, screen_->width_in_pixels, screen_->height_in_pixels};
  int width = static_cast<int>(plate.text.size()) * glyphWidth_ + 2 * kPlatePadding;
  int height = ascent_ + descent_ + 2 * kPlatePadding;
  int gap = kBorderReach + kHandleHalf + 1;
  int y = selection.y - gap - height;
  if (y < 0) y = selection.bottom() + gap;
  if (y + height > screen.height) y = selection.y + gap;
  plate.area = onScreen({selection.x, y, width, height}, screen);
  return plate;
}

// The magnifier with its label below it: below and right of the pointer, or on the other side
// where the screen ends.
ScreenRect SelectionOverlay::magnifierBox(const OverlayView& view) const {
  int height = kMagnifierSide + ascent_ + descent_ + 2 * kPlatePadding;
  int x = view.pointerX + kMagnifierGap;
  int y = view.pointerY + kMagnifierGap;
  if (x + kMagnifierSide > screen_->width_in_pixels) {
    x = view.pointerX - kMagnifierGap - kMagnifierSide;
  }
  if (y + height > screen_->height_in_pixels) y = view.pointerY - kMagnifierGap - height;
  return onScreen({x, y, kMagnifierSide, height},
                  {0, 0, screen_->width_in_pixels, screen_->height_in_pixels});
}

// The pointer's position and the colour of the pixel under it.
std::string SelectionOverlay::magnifierLabel() const {
  char text[48];
  std::snprintf(text, sizeof text, "%d, %d  #%06X", view_.pointerX, view_.pointerY,
                frozenPixel(view_.pointerX, view_.pointerY));
  return text;
}

uint32_t SelectionOverlay::frozenPixel(int x, int y) const {
  if (!frozen_ || x < 0 || y < 0 || x >= screen_->width_in_pixels ||
      y >= screen_->height_in_pixels) {
    return 0;
  }
  XcbReply<xcb_get_image_reply_t> image(xcb_get_image_reply(
      connection_,
      xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, frozen_->pixmap(),
                    static_cast<int16_t>(x), static_cast<int16_t>(y), 1, 1, ~0U),
      nullptr));
  if (!image || xcb_get_image_data_length(image.get()) < 4) return 0;
  const uint8_t* bytes = xcb_get_image_data(image.get());
  bool lowFirst = xcb_get_setup(connection_)->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
  uint32_t pixel = lowFirst ? bytes[0] | bytes[1] << 8 | bytes[2] << 16
                            : bytes[3] | bytes[2] << 8 | bytes[1] << 16;
  return pixel & 0xffffff;
}

void SelectionOverlay::paintBase(ScreenRect area) {
  area = intersect(area, {0, 0, screen_->width_in_pixels, screen_->height_in_pixels});
  if (area.empty() || !frozen_) return;
  frozen_->paint(window_, area, true);
  ScreenRect lit = intersect(area, view_.selection);
  if (!lit.empty()) frozen_->paint(window_, lit, false);
}

void SelectionOverlay::drawDecorations() {
  if (!frozen_) return;
  const ScreenRect& s = view_.selection;
  if (!s.empty()) {
    xcb_rectangle_t border = toXcb({s.x - 1, s.y - 1, s.width + 2, s.height + 2});
    xcb_poly_rectangle(connection_, window_, borderGc_, 1, &border);
    if (view_.handles) {
      for (const Handle& handle : handlesOf(s)) {
        xcb_rectangle_t outer = toXcb({handle.x - kHandleHalf, handle.y - kHandleHalf,
                                       2 * kHandleHalf + 1, 2 * kHandleHalf + 1});
        xcb_rectangle_t inner = toXcb({handle.x - kHandleHalf + 1, handle.y - kHandleHalf + 1,
                                       2 * kHandleHalf - 1, 2 * kHandleHalf - 1});
        xcb_poly_fill_rectangle(connection_, window_, handleGc_, 1, &outer);
        xcb_poly_fill_rectangle(connection_, window_, frameGc_, 1, &inner);
      }
    }
    drawPlate(readoutPlate(s));
  }
  if (view_.pointerSeen) {
    ScreenRect box = magnifierBox(view_);
    drawMagnifier(box);
    drawPlate({{box.x, box.y + kMagnifierSide, box.width, box.height - kMagnifierSide},
               magnifierLabel()});
  }
}

void SelectionOverlay::drawPlate(const Plate& plate) {
  xcb_rectangle_t area = toXcb(plate.area);
  xcb_poly_fill_rectangle(connection_, window_, plateGc_, 1, &area);
  if (glyphWidth_ == 0) return;  // the font could not be opened
  xcb_image_text_8(connection_, static_cast<uint8_t>(plate.text.size()), window_, textGc_,
                   static_cast<int16_t>(plate.area.x + kPlatePadding),
                   static_cast<int16_t>(plate.area.y + kPlatePadding + ascent_),
                   plate.text.c_str());
}

// The pixels around the pointer kZoom times in the top square of `box`, one grid line between
// them, the pointer's pixel outlined in the middle.
void SelectionOverlay::drawMagnifier(ScreenRect box) {
  int left = box.x + 1;
  int top = box.y + 1;
  int side = kCells * kZoom;
  xcb_rectangle_t inside = toXcb({left, top, side, side});
  xcb_poly_fill_rectangle(connection_, window_, gridGc_, 1, &inside);
  if (zoomed_ != XCB_NONE) {
    // Nearest pixels (the default filter) from the first one shown on, scaled in the server.
    xcb_render_transform_t scale{};
    scale.matrix11 = scale.matrix22 = (1 << 16) / kZoom;
    scale.matrix13 = (view_.pointerX - kCells / 2) * (1 << 16);
    scale.matrix23 = (view_.pointerY - kCells / 2) * (1 << 16);
    scale.matrix33 = 1 << 16;
    xcb_render_set_picture_transform(connection_, zoomed_, scale);
    xcb_render_composite(connection_, XCB_RENDER_PICT_OP_SRC, zoomed_, XCB_NONE, target_, 0, 0, 0,
                         0, static_cast<int16_t>(left), static_cast<int16_t>(top),
                         static_cast<uint16_t>(side), static_cast<uint16_t>(side));
  }
  std::vector<xcb_segment_t> grid;
  for (int i = 1; i < kCells; ++i) {
    auto x = static_cast<int16_t>(left + i * kZoom);
    auto y = static_cast<int16_t>(top + i * kZoom);
    grid.push_back({x, static_cast<int16_t>(top), x, static_cast<int16_t>(top + side - 1)});
    grid.push_back({static_cast<int16_t>(left), y, static_cast<int16_t>(left + side - 1), y});
  }
  xcb_poly_segment(connection_, window_, gridGc_, static_cast<uint32_t>(grid.size()), grid.data());
  int middle = kCells / 2 * kZoom;
  xcb_rectangle_t mark = toXcb({left + middle, top + middle, kZoom, kZoom});
  xcb_poly_rectangle(connection_, window_, markGc_, 1, &mark);
  xcb_rectangle_t frame = toXcb({box.x, box.y, kMagnifierSide - 1, kMagnifierSide - 1});
  xcb_poly_rectangle(connection_, window_, frameGc_, 1, &frame);
}
