// Another X client that owns a global shortcut: grabs KEYSYM (hex) with an X modifier mask on
// the root window, prints "grabbed" once the server has accepted the grab, and holds it until
// it is killed; exits 1 when the server refuses it.
//   hold_key_grab KEYSYM-HEX MODIFIER-MASK
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const auto keysym = static_cast<xcb_keysym_t>(std::strtoul(argv[1], nullptr, 16));
  const auto modifiers = static_cast<std::uint16_t>(std::strtoul(argv[2], nullptr, 0));
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) return 2;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
  xcb_keycode_t* keycodes = xcb_key_symbols_get_keycode(symbols, keysym);
  if (keycodes == nullptr || keycodes[0] == XCB_NO_SYMBOL) return 2;
  xcb_generic_error_t* error = xcb_request_check(
      connection, xcb_grab_key_checked(connection, 0, root, modifiers, keycodes[0],
                                       XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
  std::free(keycodes);
  xcb_key_symbols_free(symbols);
  if (error != nullptr) return 1;
  std::puts("grabbed");
  std::fflush(stdout);
  // The grab lasts as long as the connection.
  for (;;) pause();
}
