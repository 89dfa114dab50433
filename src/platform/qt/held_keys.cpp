#include "platform/qt/held_keys.h"

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <bitset>
#include <cstdlib>
#include <memory>

namespace {

constexpr std::size_t KeyCodes = 256;
std::bitset<KeyCodes> held;

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};

// The keys down on the X display now; none where there is no X display.
std::bitset<KeyCodes> KeysDown() {
  std::bitset<KeyCodes> down;
  const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) return down;
  xcb_connection_t* connection = x11->connection();
  const std::unique_ptr<xcb_query_keymap_reply_t, FreeDeleter> keymap(
      xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr));
  if (!keymap) return down;
  for (std::size_t code = 0; code < KeyCodes; ++code) {
    if ((keymap->keys[code / 8] >> (code % 8)) & 1) down.set(code);
  }
  return down;
}

}  // namespace

void NoteKeysHeldNow() {
  held = KeysDown();
}

bool KeyHeldSinceShown(quint32 scanCode) {
  return scanCode < KeyCodes && held.test(scanCode);
}

void NoteKeyReleased(quint32 scanCode) {
  // X repeats a held key as releases and presses: only a release the display agrees with is
  // the key let go.
  if (KeyHeldSinceShown(scanCode) && !KeysDown().test(scanCode)) held.reset(scanCode);
}
