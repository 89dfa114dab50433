#include "pointer_overlay.h"

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

std::optional<PointerPicture> readPointer(xcb_connection_t* connection) {
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_xfixes_id);
  if (!extension || !extension->present) return std::nullopt;
  XcbReply<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
      connection, xcb_xfixes_query_version(connection, 4, 0), nullptr));
  if (!version) return std::nullopt;
  PointerPicture cursor(xcb_xfixes_get_cursor_image_reply(
      connection, xcb_xfixes_get_cursor_image(connection), nullptr));
  if (!cursor) return std::nullopt;
  return cursor;
}

void drawPointer(const PointerPicture& cursor, PixelImage& image, ScreenRect area) {
  const uint32_t* pixels = xcb_xfixes_get_cursor_image_cursor_image(cursor.get());
  int left = cursor->x - cursor->xhot - area.x;
  int top = cursor->y - cursor->yhot - area.y;
  ScreenRect drawn =
      intersect({left, top, cursor->width, cursor->height}, {0, 0, image.width, image.height});
  for (int y = drawn.y; y < drawn.bottom(); ++y) {
    uint32_t* row = image.row(y);
    for (int x = drawn.x; x < drawn.right(); ++x) {
      uint32_t pixel = pixels[(y - top) * cursor->width + (x - left)];
      if ((pixel >> 24) == 0) continue;
      row[x] = blendPremultiplied(pixel, row[x]);
    }
  }
}
