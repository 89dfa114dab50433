#include "root_grab.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>

#include <algorithm>
#include <cstring>

#include "xcb_handles.h"

namespace {

constexpr uint32_t kAllPlanes = ~0u;

bool serverOffersSharedMemory(xcb_connection_t* connection) {
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_shm_id);
  return extension && extension->present;
}

std::optional<PixelImage> grabThroughSharedMemory(xcb_connection_t* connection,
                                                  xcb_window_t root, ScreenRect area) {
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

  XcbReply<xcb_shm_get_image_reply_t> reply(xcb_shm_get_image_reply(
      connection,
      xcb_shm_get_image(connection, root, static_cast<int16_t>(area.x),
                        static_cast<int16_t>(area.y), static_cast<uint16_t>(area.width),
                        static_cast<uint16_t>(area.height), kAllPlanes,
                        XCB_IMAGE_FORMAT_Z_PIXMAP, segment, 0),
      nullptr));
  xcb_shm_detach(connection, segment);
  xcb_flush(connection);
  if (!reply || reply->depth < 24) return std::nullopt;

  PixelImage image;
  image.width = area.width;
  image.height = area.height;
  image.stride = static_cast<std::size_t>(area.width);
  image.pixels = static_cast<uint32_t*>(address);
  image.owner = std::move(owner);
  return image;
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

}  // namespace

std::optional<PixelImage> grabRootArea(xcb_connection_t* connection, xcb_screen_t* screen,
                                       ScreenRect area) {
  int right = std::min<int>(area.x + area.width, screen->width_in_pixels);
  int bottom = std::min<int>(area.y + area.height, screen->height_in_pixels);
  area.x = std::max(area.x, 0);
  area.y = std::max(area.y, 0);
  area.width = right - area.x;
  area.height = bottom - area.y;
  if (area.width <= 0 || area.height <= 0) return std::nullopt;
  // Only 32 bits per pixel layouts are handled: every depth-24 TrueColor server uses them.
  if (screen->root_depth != 24 && screen->root_depth != 32) return std::nullopt;

  if (serverOffersSharedMemory(connection)) {
    if (auto image = grabThroughSharedMemory(connection, screen->root, area)) return image;
  }
  return grabThroughSocket(connection, screen->root, area);
}
