#pragma once

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <string_view>

// Holds the pointer (with `cursor` shown) and the keyboard for `window`, so that every click and
// key goes to this tool while the user picks, and releases both when it goes. Retries for a short
// while because the program that started the tool may still hold a grab from its menu.
class InputGrab {
 public:
  InputGrab(xcb_connection_t* connection, xcb_window_t window, xcb_cursor_t cursor,
            uint16_t pointerEvents);
  InputGrab(const InputGrab&) = delete;
  InputGrab& operator=(const InputGrab&) = delete;
  ~InputGrab();

  // False when another program kept them.
  bool held() const { return held_; }

 private:
  xcb_connection_t* connection_;
  bool held_ = false;
};

// A glyph of the core cursor font (XC_ names); the caller frees it with xcb_free_cursor.
xcb_cursor_t createFontCursor(xcb_connection_t* connection, uint16_t glyph);

// The server's key map, asked once: the symbol of a key without modifiers (XK_ names).
class KeyMap {
 public:
  explicit KeyMap(xcb_connection_t* connection);
  KeyMap(const KeyMap&) = delete;
  KeyMap& operator=(const KeyMap&) = delete;
  ~KeyMap();
  xcb_keysym_t symbolOf(xcb_keycode_t keycode) const;

 private:
  xcb_key_symbols_t* symbols_;
};

bool isEscapeKey(xcb_connection_t* connection, xcb_keycode_t keycode);

// Names an overlay window so that it can be found by its title and class.
void nameWindow(xcb_connection_t* connection, xcb_window_t window, std::string_view title);
