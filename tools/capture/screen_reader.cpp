#include "screen_reader.h"

#include <algorithm>

#include "xcb_handles.h"

namespace {

// Small, so that the buffer of a strip already encoded serves a later one: fresh pages cost more
// than the extra requests.
constexpr std::size_t kStripBytes = 1 << 18;
constexpr std::size_t kRequestsAhead = 4;
constexpr uint32_t kAllPlanes = ~0u;

}  // namespace

ScreenReader::ScreenReader(xcb_connection_t* connection, xcb_drawable_t drawable, int depth,
                           ScreenRect area, const PointerPicture* pointer)
    : connection_(connection),
      drawable_(drawable),
      depth_(depth),
      area_(area),
      pointer_(pointer),
      rowsPerStrip_(std::max<int>(
          1, static_cast<int>(kStripBytes / (static_cast<std::size_t>(area.width) * 4 + 1)))) {
  // Only 32 bits per pixel layouts are handled: every depth-24 TrueColor server uses them.
  failed_ = area.empty() || (depth != 24 && depth != 32);
}

ScreenReader::~ScreenReader() {
  for (const Request& request : pending_) xcb_discard_reply(connection_, request.cookie.sequence);
}

void ScreenReader::requestMore() {
  while (!failed_ && pending_.size() < kRequestsAhead && nextRequested_ < area_.height) {
    int first = nextRequested_;
    int rows = std::min(rowsPerStrip_, area_.height - first);
    // Each strip brings the row above it too, for the encoders' filters.
    int from = first > 0 ? first - 1 : 0;
    xcb_get_image_cookie_t cookie = xcb_get_image(
        connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable_, static_cast<int16_t>(area_.x),
        static_cast<int16_t>(area_.y + from), static_cast<uint16_t>(area_.width),
        static_cast<uint16_t>(first + rows - from), kAllPlanes);
    pending_.push_back({first, cookie});
    nextRequested_ = first + rows;
  }
}

std::optional<Strip> ScreenReader::next() {
  requestMore();
  if (failed_ || pending_.empty()) return std::nullopt;
  Request request = pending_.front();
  pending_.pop_front();
  XcbReply<xcb_get_image_reply_t> reply(xcb_get_image_reply(connection_, request.cookie, nullptr));
  int from = request.firstRow > 0 ? request.firstRow - 1 : 0;
  int rows = std::min(rowsPerStrip_, area_.height - request.firstRow);
  int fetched = request.firstRow + rows - from;
  std::size_t bytes = static_cast<std::size_t>(area_.width) * fetched * 4;
  if (!reply || reply->depth != depth_ ||
      static_cast<std::size_t>(xcb_get_image_data_length(reply.get())) < bytes) {
    failed_ = true;
    return std::nullopt;
  }
  PixelImage fetchedRows;
  fetchedRows.width = area_.width;
  fetchedRows.height = fetched;
  fetchedRows.stride = static_cast<std::size_t>(area_.width);
  fetchedRows.pixels = reinterpret_cast<uint32_t*>(xcb_get_image_data(reply.get()));
  fetchedRows.owner = std::shared_ptr<void>(reply.release(), FreeDeleter());
  if (pointer_)
    drawPointer(*pointer_, fetchedRows, {area_.x, area_.y + from, area_.width, fetched});

  Strip strip;
  strip.firstRow = request.firstRow;
  strip.rows = cropPixelImage(fetchedRows, 0, request.firstRow - from, area_.width, rows);
  strip.above = request.firstRow > 0 ? fetchedRows.row(0) : nullptr;
  requestMore();
  return strip;
}
