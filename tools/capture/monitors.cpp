#include "monitors.h"

#include <xcb/randr.h>

#include "xcb_handles.h"

namespace {

ScreenRect wholeRoot(xcb_screen_t* screen) {
  return {0, 0, screen->width_in_pixels, screen->height_in_pixels};
}

}  // namespace

std::vector<ScreenRect> listMonitors(xcb_connection_t* connection, xcb_screen_t* screen) {
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_randr_id);
  if (!extension || !extension->present) return {wholeRoot(screen)};

  XcbReply<xcb_randr_query_version_reply_t> version(xcb_randr_query_version_reply(
      connection, xcb_randr_query_version(connection, 1, 5), nullptr));
  if (!version || (version->major_version == 1 && version->minor_version < 5)) {
    return {wholeRoot(screen)};
  }

  XcbReply<xcb_randr_get_monitors_reply_t> reply(xcb_randr_get_monitors_reply(
      connection, xcb_randr_get_monitors(connection, screen->root, 1), nullptr));
  if (!reply) return {wholeRoot(screen)};

  std::vector<ScreenRect> monitors;
  for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem;
       xcb_randr_monitor_info_next(&it)) {
    const xcb_randr_monitor_info_t* info = it.data;
    ScreenRect rect{info->x, info->y, info->width, info->height};
    if (info->primary) {
      monitors.insert(monitors.begin(), rect);
    } else {
      monitors.push_back(rect);
    }
  }
  if (monitors.empty()) return {wholeRoot(screen)};
  return monitors;
}
