#include "clipboard_handoff.h"

#include <chrono>
#include <cstring>
#include <thread>

#include "helper_process.h"
#include "xcb_handles.h"

namespace {

constexpr auto kOwnerPatience = std::chrono::seconds(3);
constexpr auto kOwnerPollPause = std::chrono::milliseconds(5);

xcb_window_t clipboardOwner(xcb_connection_t* connection, xcb_atom_t clipboard) {
  XcbReply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
      connection, xcb_get_selection_owner(connection, clipboard), nullptr));
  return reply ? reply->owner : XCB_NONE;
}

}  // namespace

std::string handPngToClipboard(xcb_connection_t* connection, std::string_view png) {
  const char name[] = "CLIPBOARD";
  XcbReply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr));
  if (!atom) return "clipboard: the display does not answer";
  xcb_window_t before = clipboardOwner(connection, atom->atom);

  if (!runFeedingInput({"xclip", "-selection", "clipboard", "-t", "image/png", "-i"}, png)) {
    return "clipboard: xclip is missing or failed";
  }
  // xclip's parent exits before its child has surely claimed the selection; wait for the claim
  // so that a program reading the clipboard right after this tool ends finds the image.
  auto deadline = std::chrono::steady_clock::now() + kOwnerPatience;
  while (clipboardOwner(connection, atom->atom) == before) {
    if (std::chrono::steady_clock::now() >= deadline) return "clipboard: xclip did not take it";
    std::this_thread::sleep_for(kOwnerPollPause);
  }
  return {};
}
