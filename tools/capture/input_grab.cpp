#include "input_grab.h"

#include <X11/keysym.h>

#include <chrono>
#include <thread>

#include "xcb_handles.h"

namespace {

constexpr auto kGrabPatience = std::chrono::milliseconds(1500);
constexpr auto kGrabRetryPause = std::chrono::milliseconds(20);

bool tryGrab(xcb_connection_t* connection, xcb_window_t window, xcb_cursor_t cursor,
             uint16_t pointerEvents) {
  XcbReply<xcb_grab_pointer_reply_t> pointer(xcb_grab_pointer_reply(
      connection,
      xcb_grab_pointer(connection, 0, window, pointerEvents, XCB_GRAB_MODE_ASYNC,
                       XCB_GRAB_MODE_ASYNC, XCB_NONE, cursor, XCB_CURRENT_TIME),
      nullptr));
  if (!pointer || pointer->status != XCB_GRAB_STATUS_SUCCESS) return false;
  XcbReply<xcb_grab_keyboard_reply_t> keyboard(
      xcb_grab_keyboard_reply(connection,
                              xcb_grab_keyboard(connection, 0, window, XCB_CURRENT_TIME,
                                                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                              nullptr));
  if (!keyboard || keyboard->status != XCB_GRAB_STATUS_SUCCESS) {
    xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
    return false;
  }
  return true;
}

}  // namespace

InputGrab::InputGrab(xcb_connection_t* connection, xcb_window_t window, xcb_cursor_t cursor,
                     uint16_t pointerEvents)
    : connection_(connection) {
  auto deadline = std::chrono::steady_clock::now() + kGrabPatience;
  while (!(held_ = tryGrab(connection, window, cursor, pointerEvents))) {
    if (std::chrono::steady_clock::now() >= deadline) return;
    std::this_thread::sleep_for(kGrabRetryPause);
  }
}

InputGrab::~InputGrab() {
  if (!held_) return;
  xcb_ungrab_pointer(connection_, XCB_CURRENT_TIME);
  xcb_ungrab_keyboard(connection_, XCB_CURRENT_TIME);
  xcb_flush(connection_);
}

xcb_cursor_t createFontCursor(xcb_connection_t* connection, uint16_t glyph) {
  xcb_font_t font = xcb_generate_id(connection);
  xcb_open_font(connection, font, 6, "cursor");
  xcb_cursor_t cursor = xcb_generate_id(connection);
  // The glyph after each shape is its mask.
  xcb_create_glyph_cursor(connection, cursor, font, font, glyph, glyph + 1, 0, 0, 0, 0xffff, 0xffff,
                          0xffff);
  xcb_close_font(connection, font);
  return cursor;
}

KeyMap::KeyMap(xcb_connection_t* connection) : symbols_(xcb_key_symbols_alloc(connection)) {}

KeyMap::~KeyMap() {
  if (symbols_) xcb_key_symbols_free(symbols_);
}

xcb_keysym_t KeyMap::symbolOf(xcb_keycode_t keycode) const {
  return symbols_ ? xcb_key_symbols_get_keysym(symbols_, keycode, 0) : XCB_NO_SYMBOL;
}

bool isEscapeKey(xcb_connection_t* connection, xcb_keycode_t keycode) {
  return KeyMap(connection).symbolOf(keycode) == XK_Escape;
}

void nameWindow(xcb_connection_t* connection, xcb_window_t window, std::string_view title) {
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING,
                      8, static_cast<uint32_t>(title.size()), title.data());
  // WM_CLASS is instance and class, each ending in a NUL.
  static constexpr char kClass[] = "vantorshot-capture\0Vantorshot-capture";
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING,
                      8, sizeof(kClass), kClass);
}
