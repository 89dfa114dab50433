#include "frozen_screen.h"

#include <string>

namespace {

constexpr xcb_render_color_t kHalf = {0, 0, 0, 0x8000};

// A GC for plain copies: children's contents included, and no NoExpose events for copies
// nobody waits for.
xcb_gcontext_t copyingGc(xcb_connection_t* connection, xcb_drawable_t on) {
  xcb_gcontext_t gc = xcb_generate_id(connection);
  uint32_t values[] = {XCB_SUBWINDOW_MODE_INCLUDE_INFERIORS, 0};
  xcb_create_gc(connection, gc, on, XCB_GC_SUBWINDOW_MODE | XCB_GC_GRAPHICS_EXPOSURES, values);
  return gc;
}

}  // namespace

FrozenScreen::FrozenScreen(xcb_connection_t* connection, xcb_screen_t* screen,
                           xcb_render_pictformat_t format)
    : connection_(connection), format_(format), pixmap_(connection, xcb_generate_id(connection)) {
  xcb_create_pixmap(connection, screen->root_depth, pixmap_.id(), screen->root,
                    screen->width_in_pixels, screen->height_in_pixels);
  xcb_gcontext_t gc = copyingGc(connection, pixmap_.id());
  xcb_copy_area(connection, screen->root, pixmap_.id(), gc, 0, 0, 0, 0, screen->width_in_pixels,
                screen->height_in_pixels);
  xcb_free_gc(connection, gc);
}

void FrozenScreen::paint(xcb_window_t window, ScreenRect area, bool dimmed) const {
  auto x = static_cast<int16_t>(area.x);
  auto y = static_cast<int16_t>(area.y);
  auto width = static_cast<uint16_t>(area.width);
  auto height = static_cast<uint16_t>(area.height);
  if (!dimmed || format_ == XCB_NONE) {
    xcb_gcontext_t gc = copyingGc(connection_, window);
    xcb_copy_area(connection_, pixmap_.id(), window, gc, x, y, x, y, width, height);
    xcb_free_gc(connection_, gc);
    return;
  }
  // One pass through a half-transparent mask: the window gets the frozen screen at half
  // brightness.
  xcb_render_picture_t source = xcb_generate_id(connection_);
  xcb_render_picture_t mask = xcb_generate_id(connection_);
  xcb_render_picture_t target = xcb_generate_id(connection_);
  xcb_render_create_picture(connection_, source, pixmap_.id(), format_, 0, nullptr);
  xcb_render_create_solid_fill(connection_, mask, kHalf);
  xcb_render_create_picture(connection_, target, window, format_, 0, nullptr);
  xcb_render_composite(connection_, XCB_RENDER_PICT_OP_SRC, source, mask, target, x, y, 0, 0, x, y,
                       width, height);
  for (xcb_render_picture_t picture : {source, mask, target}) {
    xcb_render_free_picture(connection_, picture);
  }
}

xcb_render_pictformat_t rootPictureFormat(xcb_connection_t* connection, xcb_screen_t* screen) {
  const xcb_query_extension_reply_t* render = xcb_get_extension_data(connection, &xcb_render_id);
  if (!render || !render->present) return XCB_NONE;
  // The protocol asks for the version exchange before any other request.
  XcbReply<xcb_render_query_version_reply_t> version(xcb_render_query_version_reply(
      connection, xcb_render_query_version(connection, 0, 11), nullptr));
  XcbReply<xcb_render_query_pict_formats_reply_t> formats(xcb_render_query_pict_formats_reply(
      connection, xcb_render_query_pict_formats(connection), nullptr));
  if (!version || !formats) return XCB_NONE;
  for (auto s = xcb_render_query_pict_formats_screens_iterator(formats.get()); s.rem;
       xcb_render_pictscreen_next(&s)) {
    for (auto d = xcb_render_pictscreen_depths_iterator(s.data); d.rem;
         xcb_render_pictdepth_next(&d)) {
      for (auto v = xcb_render_pictdepth_visuals_iterator(d.data); v.rem;
           xcb_render_pictvisual_next(&v)) {
        if (v.data->visual == screen->root_visual) return v.data->format;
      }
    }
  }
  return XCB_NONE;
}

bool screenIsComposited(xcb_connection_t* connection, int screenNumber) {
  std::string name = "_NET_WM_CM_S" + std::to_string(screenNumber);
  XcbReply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 1, static_cast<uint16_t>(name.size()), name.data()),
      nullptr));
  if (!atom || atom->atom == XCB_NONE) return false;
  XcbReply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
      connection, xcb_get_selection_owner(connection, atom->atom), nullptr));
  return owner && owner->owner != XCB_NONE;
}
