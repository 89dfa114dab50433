#include "frozen_screen.h"

#include <xcb/render.h>

namespace {

constexpr xcb_render_color_t kHalfBlack = {0, 0, 0, 0x8000};

ServerPixmap copyOf(xcb_connection_t* connection, xcb_screen_t* screen, xcb_drawable_t from,
                    uint32_t subwindowMode) {
  ServerPixmap pixmap(connection, xcb_generate_id(connection));
  xcb_create_pixmap(connection, screen->root_depth, pixmap.id(), screen->root,
                    screen->width_in_pixels, screen->height_in_pixels);
  xcb_gcontext_t gc = xcb_generate_id(connection);
  xcb_create_gc(connection, gc, pixmap.id(), XCB_GC_SUBWINDOW_MODE, &subwindowMode);
  xcb_copy_area(connection, from, pixmap.id(), gc, 0, 0, 0, 0, screen->width_in_pixels,
                screen->height_in_pixels);
  xcb_free_gc(connection, gc);
  return pixmap;
}

// The picture format of the root's visual, or none.
xcb_render_pictformat_t rootFormat(xcb_connection_t* connection, xcb_screen_t* screen) {
  // The protocol asks for the version exchange before any other request.
  XcbReply<xcb_render_query_version_reply_t> version(xcb_render_query_version_reply(
      connection, xcb_render_query_version(connection, 0, 11), nullptr));
  if (!version) return XCB_NONE;
  XcbReply<xcb_render_query_pict_formats_reply_t> formats(xcb_render_query_pict_formats_reply(
      connection, xcb_render_query_pict_formats(connection), nullptr));
  if (!formats) return XCB_NONE;
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

}  // namespace

ServerPixmap freezeScreen(xcb_connection_t* connection, xcb_screen_t* screen) {
  return copyOf(connection, screen, screen->root, XCB_SUBWINDOW_MODE_INCLUDE_INFERIORS);
}

ServerPixmap dimmedCopy(xcb_connection_t* connection, xcb_screen_t* screen, xcb_pixmap_t frozen) {
  ServerPixmap dim = copyOf(connection, screen, frozen, XCB_SUBWINDOW_MODE_CLIP_BY_CHILDREN);
  const xcb_query_extension_reply_t* render = xcb_get_extension_data(connection, &xcb_render_id);
  xcb_render_pictformat_t format = render && render->present ? rootFormat(connection, screen) : 0;
  if (format == XCB_NONE) return dim;
  xcb_render_picture_t picture = xcb_generate_id(connection);
  xcb_render_create_picture(connection, picture, dim.id(), format, 0, nullptr);
  xcb_rectangle_t whole{0, 0, screen->width_in_pixels, screen->height_in_pixels};
  xcb_render_fill_rectangles(connection, XCB_RENDER_PICT_OP_OVER, picture, kHalfBlack, 1, &whole);
  xcb_render_free_picture(connection, picture);
  return dim;
}
