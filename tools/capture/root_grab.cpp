#include "root_grab.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "xcb_handles.h"

namespace {

constexpr uint32_t kAllPlanes = ~0u;

bool serverOffersSharedMemory(xcb_connection_t* connection) {
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_shm_id);
  return extension && extension->present;
}

constexpr int kStrips = 16;

struct SharedImage {
  PixelImage image;
  xcb_shm_seg_t segment = 0;
};

// An image in a shared-memory segment that the server has attached too.
std::optional<SharedImage> attachSharedImage(xcb_connection_t* connection, ScreenRect area) {
  std::size_t bytes = static_cast<std::size_t>(area.width) * area.height * 4;
  int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (id < 0) return std::nullopt;
  void* address = shmat(id, nullptr, 0);
  if (address == reinterpret_cast<void*>(-1)) {
    shmctl(id, IPC_RMID, nullptr);
    return std::nullopt;
  }
  // Detaching is all that is left to do once the segment is marked for removal below.
  std::shared_ptr<void> owner(address, [](void* p) { shmdt(p); });

  xcb_shm_seg_t segment = xcb_generate_id(connection);
  XcbReply<xcb_generic_error_t> attachError(
      xcb_request_check(connection, xcb_shm_attach_checked(connection, segment, id, 0)));
  // Both sides are attached now (or the server refused); the kernel frees the segment when the
  // last of them detaches, even if this process is killed.
  shmctl(id, IPC_RMID, nullptr);
  if (attachError) return std::nullopt;

  SharedImage shared;
  shared.image.width = area.width;
  shared.image.height = area.height;
  shared.image.stride = static_cast<std::size_t>(area.width);
  shared.image.pixels = static_cast<uint32_t*>(address);
  shared.image.owner = std::move(owner);
  shared.segment = segment;
  return shared;
}

xcb_shm_get_image_cookie_t requestRows(xcb_connection_t* connection, xcb_window_t root,
                                       const SharedImage& shared, ScreenRect area, int firstRow,
                                       int rows) {
  return xcb_shm_get_image(
      connection, root, static_cast<int16_t>(area.x), static_cast<int16_t>(area.y + firstRow),
      static_cast<uint16_t>(area.width), static_cast<uint16_t>(rows), kAllPlanes,
      XCB_IMAGE_FORMAT_Z_PIXMAP, shared.segment,
      static_cast<uint32_t>(static_cast<std::size_t>(firstRow) * area.width * 4));
}

bool receiveRows(xcb_connection_t* connection, xcb_shm_get_image_cookie_t cookie) {
  XcbReply<xcb_shm_get_image_reply_t> reply(xcb_shm_get_image_reply(connection, cookie, nullptr));
  return reply && reply->depth >= 24;
}

void detach(xcb_connection_t* connection, const SharedImage& shared) {
  xcb_shm_detach(connection, shared.segment);
  xcb_flush(connection);
}

std::optional<PixelImage> grabThroughSharedMemory(xcb_connection_t* connection, xcb_window_t root,
                                                  ScreenRect area) {
  std::optional<SharedImage> shared = attachSharedImage(connection, area);
  if (!shared) return std::nullopt;
  bool ok = receiveRows(connection, requestRows(connection, root, *shared, area, 0, area.height));
  detach(connection, *shared);
  if (!ok) return std::nullopt;
  return shared->image;
}

std::optional<PixelImage> grabThroughSocket(xcb_connection_t* connection, xcb_window_t root,
                                            ScreenRect area) {
  XcbReply<xcb_get_image_reply_t> reply(xcb_get_image_reply(
      connection,
      xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, root, static_cast<int16_t>(area.x),
                    static_cast<int16_t>(area.y), static_cast<uint16_t>(area.width),
                    static_cast<uint16_t>(area.height), kAllPlanes),
      nullptr));
  if (!reply || reply->depth < 24) return std::nullopt;
  std::size_t bytes = static_cast<std::size_t>(area.width) * area.height * 4;
  if (static_cast<std::size_t>(xcb_get_image_data_length(reply.get())) < bytes) return std::nullopt;
  PixelImage image = allocatePixelImage(area.width, area.height);
  std::memcpy(image.pixels, xcb_get_image_data(reply.get()), bytes);
  return image;
}

// The part of `area` inside the root, if the root's pixels can be read at all.
std::optional<ScreenRect> readableArea(xcb_screen_t* screen, ScreenRect area) {
  area = intersect(area, {0, 0, screen->width_in_pixels, screen->height_in_pixels});
  if (area.empty()) return std::nullopt;
  // Only 32 bits per pixel layouts are handled: every depth-24 TrueColor server uses them.
  if (screen->root_depth != 24 && screen->root_depth != 32) return std::nullopt;
  return area;
}

}  // namespace

std::optional<PixelImage> grabRootArea(xcb_connection_t* connection, xcb_screen_t* screen,
                                       ScreenRect requested) {
  std::optional<ScreenRect> readable = readableArea(screen, requested);
  if (!readable) return std::nullopt;
  ScreenRect area = *readable;
  if (serverOffersSharedMemory(connection)) {
    if (auto image = grabThroughSharedMemory(connection, screen->root, area)) return image;
  }
  return grabThroughSocket(connection, screen->root, area);
}

std::optional<PixelImage> grabRootAreaInStrips(
    xcb_connection_t* connection, xcb_screen_t* screen, ScreenRect requested,
    RowAvailability& arriving, const std::function<void(const PixelImage&)>& started) {
  std::optional<ScreenRect> readable = readableArea(screen, requested);
  std::optional<SharedImage> shared;
  if (readable && serverOffersSharedMemory(connection)) {
    shared = attachSharedImage(connection, *readable);
  }
  if (!shared) {
    std::optional<PixelImage> image = grabRootArea(connection, screen, requested);
    if (!image) {
      arriving.abandon();
      return image;
    }
    started(*image);
    arriving.publish(image->height);
    return image;
  }

  ScreenRect area = *readable;
  std::vector<xcb_shm_get_image_cookie_t> cookies;
  std::vector<int> ends;
  for (int strip = 0; strip < kStrips; ++strip) {
    int first = area.height * strip / kStrips;
    int end = area.height * (strip + 1) / kStrips;
    if (end == first) continue;
    cookies.push_back(requestRows(connection, screen->root, *shared, area, first, end - first));
    ends.push_back(end);
  }
  xcb_flush(connection);
  started(shared->image);
  for (std::size_t i = 0; i < cookies.size(); ++i) {
    if (!receiveRows(connection, cookies[i])) {
      for (std::size_t rest = i + 1; rest < cookies.size(); ++rest) {
        xcb_discard_reply(connection, cookies[rest].sequence);
      }
      detach(connection, *shared);
      arriving.abandon();
      return std::nullopt;
    }
    arriving.publish(ends[i]);
  }
  detach(connection, *shared);
  return shared->image;
}
