#include "test_display.h"

#include <xcb/xfixes.h>

#include <algorithm>

TestDisplay::TestDisplay() : connection_(xcb_connect(nullptr, nullptr)) {
  if (xcb_connection_has_error(connection_.get())) return;
  screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_.get())).data;
}

QSize TestDisplay::rootSize() const {
  return {screen_->width_in_pixels, screen_->height_in_pixels};
}

QImage TestDisplay::rootImage() {
  xcb_connection_t* c = connection_.get();
  QSize size = rootSize();
  XcbReply<xcb_get_image_reply_t> reply(xcb_get_image_reply(
      c,
      xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, screen_->root, 0, 0,
                    static_cast<uint16_t>(size.width()), static_cast<uint16_t>(size.height()), ~0u),
      nullptr));
  if (!reply) return {};
  return QImage(xcb_get_image_data(reply.get()), size.width(), size.height(), QImage::Format_RGB32)
      .copy();
}

xcb_pixmap_t TestDisplay::uploadPixmap(const QImage& source) {
  QImage image = source.convertToFormat(QImage::Format_RGB32);
  xcb_connection_t* c = connection_.get();
  xcb_pixmap_t pixmap = xcb_generate_id(c);
  xcb_create_pixmap(c, screen_->root_depth, pixmap, screen_->root,
                    static_cast<uint16_t>(image.width()), static_cast<uint16_t>(image.height()));
  xcb_gcontext_t gc = xcb_generate_id(c);
  xcb_create_gc(c, gc, pixmap, 0, nullptr);
  const int rowBytes = image.width() * 4;
  const int rowsPerRequest =
      std::max(1, static_cast<int>((xcb_get_maximum_request_length(c) * 4 - 64) / rowBytes));
  for (int y = 0; y < image.height(); y += rowsPerRequest) {
    int rows = std::min(rowsPerRequest, image.height() - y);
    xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, static_cast<uint16_t>(image.width()),
                  static_cast<uint16_t>(rows), 0, static_cast<int16_t>(y), 0, screen_->root_depth,
                  static_cast<uint32_t>(rowBytes * rows), image.constScanLine(y));
  }
  xcb_free_gc(c, gc);
  return pixmap;
}

void TestDisplay::showOnRoot(const QImage& image) {
  xcb_connection_t* c = connection_.get();
  xcb_pixmap_t pixmap = uploadPixmap(image);
  xcb_change_window_attributes(c, screen_->root, XCB_CW_BACK_PIXMAP, &pixmap);
  xcb_clear_area(c, 0, screen_->root, 0, 0, 0, 0);
  xcb_free_pixmap(c, pixmap);  // the root keeps it as long as it is the background
  sync();
}

xcb_window_t TestDisplay::showWindow(QPoint position, const QImage& content, int borderWidth,
                                     QRgb borderColour) {
  xcb_connection_t* c = connection_.get();
  xcb_pixmap_t pixmap = uploadPixmap(content);
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
  return window;
}

TestDisplay::Cursor TestDisplay::cursor() {
  xcb_connection_t* c = connection_.get();
  XcbReply<xcb_xfixes_query_version_reply_t> version(
      xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 4, 0), nullptr));
  XcbReply<xcb_xfixes_get_cursor_image_reply_t> reply(
      xcb_xfixes_get_cursor_image_reply(c, xcb_xfixes_get_cursor_image(c), nullptr));
  Cursor cursor;
  if (!version || !reply) return cursor;
  QImage image(
      reinterpret_cast<const uchar*>(xcb_xfixes_get_cursor_image_cursor_image(reply.get())),
      reply->width, reply->height, QImage::Format_ARGB32_Premultiplied);
  cursor.image = image.copy();
  cursor.hotSpot = {reply->xhot, reply->yhot};
  cursor.position = {reply->x, reply->y};
  return cursor;
}

void TestDisplay::sync() {
  xcb_connection_t* c = connection_.get();
  XcbReply<xcb_get_input_focus_reply_t> reply(
      xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}
