#include "pointer_overlay.h"

#include <xcb/xfixes.h>

#include "xcb_handles.h"

namespace {

// Cursor pixels are premultiplied ARGB: out = cursor + target * (1 - alpha).
uint32_t blendPremultiplied(uint32_t cursor, uint32_t target) {
  uint32_t alpha = cursor >> 24;
  uint32_t keep = 255 - alpha;
  uint32_t result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    uint32_t c = (cursor >> shift) & 0xff;
    uint32_t t = (target >> shift) & 0xff;
    uint32_t channel = c + (t * keep + 127) / 255;
    result |= (channel > 255 ? 255 : channel) << shift;
  }
  return result;
}

}  // namespace

void drawPointer(xcb_connection_t* connection, PixelImage& image, ScreenRect area) {
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_xfixes_id);
  if (!extension || !extension->present) return;
  XcbReply<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
      connection, xcb_xfixes_query_version(connection, 4, 0), nullptr));
  if (!version) return;
  XcbReply<xcb_xfixes_get_cursor_image_reply_t> cursor(xcb_xfixes_get_cursor_image_reply(
      connection, xcb_xfixes_get_cursor_image(connection), nullptr));
  if (!cursor) return;

  const uint32_t* pixels = xcb_xfixes_get_cursor_image_cursor_image(cursor.get());
  int left = cursor->x - cursor->xhot - area.x;
  int top = cursor->y - cursor->yhot - area.y;
  for (int cy = 0; cy < cursor->height; ++cy) {
    int y = top + cy;
    if (y < 0 || y >= image.height) continue;
    uint32_t* row = image.row(y);
    for (int cx = 0; cx < cursor->width; ++cx) {
      int x = left + cx;
      if (x < 0 || x >= image.width) continue;
      uint32_t pixel = pixels[cy * cursor->width + cx];
      if ((pixel >> 24) == 0) continue;
      row[x] = blendPremultiplied(pixel, row[x]);
    }
  }
}
