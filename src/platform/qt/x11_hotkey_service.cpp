#include "platform/qt/x11_hotkey_service.h"

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "platform/key_codes.h"
#include "platform/qt/virtual_key_table.h"

namespace {

constexpr std::uint32_t KeysymNumLock = 0xff7f;
constexpr std::uint16_t MatchedModifiers =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

struct KeySymbolsDeleter {
  void operator()(xcb_key_symbols_t* symbols) const { xcb_key_symbols_free(symbols); }
};
using KeySymbols = std::unique_ptr<xcb_key_symbols_t, KeySymbolsDeleter>;

// Command is the Super key (Mod4), Option the Alt key (Mod1).
std::uint16_t XModifiersOf(std::uint32_t modifiers) {
  std::uint16_t mask = 0;
  if (modifiers & HotkeyCommand) mask |= XCB_MOD_MASK_4;
  if (modifiers & HotkeyShift) mask |= XCB_MOD_MASK_SHIFT;
  if (modifiers & HotkeyOption) mask |= XCB_MOD_MASK_1;
  if (modifiers & HotkeyControl) mask |= XCB_MOD_MASK_CONTROL;
  return mask;
}

std::vector<std::uint8_t> KeycodesOf(KeySymbols& symbols, std::uint32_t keysym) {
  std::vector<std::uint8_t> keycodes;
  Reply<xcb_keycode_t> found(xcb_key_symbols_get_keycode(symbols.get(), keysym));
  for (const xcb_keycode_t* k = found.get(); k != nullptr && *k != XCB_NO_SYMBOL; ++k) {
    if (std::find(keycodes.begin(), keycodes.end(), *k) == keycodes.end()) keycodes.push_back(*k);
  }
  return keycodes;
}

// The modifier bit the Num Lock key sets on this server (usually Mod2).
std::uint16_t NumLockMask(xcb_connection_t* connection) {
  KeySymbols symbols(xcb_key_symbols_alloc(connection));
  if (!symbols) return 0;
  const std::vector<std::uint8_t> numLock = KeycodesOf(symbols, KeysymNumLock);
  Reply<xcb_get_modifier_mapping_reply_t> map(
      xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr));
  if (!map || numLock.empty()) return 0;
  const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(map.get());
  const int perModifier = map->keycodes_per_modifier;
  for (int modifier = 0; modifier < 8; ++modifier) {
    for (int i = 0; i < perModifier; ++i) {
      const xcb_keycode_t code = codes[modifier * perModifier + i];
      if (std::find(numLock.begin(), numLock.end(), code) != numLock.end()) {
        return static_cast<std::uint16_t>(1u << modifier);
      }
    }
  }
  return 0;
}

bool SameHotkey(HotkeyId a, HotkeyId b) {
  return a.signature == b.signature && a.id == b.id;
}

}  // namespace

X11HotkeyService::X11HotkeyService() {
  auto* x11 =
      qApp == nullptr ? nullptr : qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr) return;
  connection_ = x11->connection();
  const xcb_setup_t* setup = xcb_get_setup(connection_);
  const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup);
  if (screens.rem == 0) {
    connection_ = nullptr;
    return;
  }
  root_ = screens.data->root;
}

X11HotkeyService::~X11HotkeyService() {
  if (filtering_) qApp->removeNativeEventFilter(this);
  for (const Grab& grab : grabs_) Ungrab(grab);
  if (connection_ != nullptr) xcb_flush(connection_);
}

bool X11HotkeyService::InstallHandler(HotkeyPressedFunction handler) {
  if (handler == nullptr) return false;
  handler_ = handler;
  // Without a display the hot keys wait with the rest of start-up, which then reports why.
  if (connection_ != nullptr && !filtering_) {
    qApp->installNativeEventFilter(this);
    filtering_ = true;
  }
  return true;
}

std::vector<std::uint16_t> X11HotkeyService::LockVariants() const {
  const std::uint16_t numLock = NumLockMask(connection_);
  std::vector<std::uint16_t> variants = {0, XCB_MOD_MASK_LOCK};
  if (numLock != 0) {
    variants.push_back(numLock);
    variants.push_back(static_cast<std::uint16_t>(numLock | XCB_MOD_MASK_LOCK));
  }
  return variants;
}

void X11HotkeyService::Ungrab(const Grab& grab) {
  if (connection_ == nullptr) return;
  for (const auto& [keycode, mask] : grab.held) xcb_ungrab_key(connection_, keycode, root_, mask);
}

bool X11HotkeyService::RegisterKey(std::uint32_t keyCode, std::uint32_t modifiers, HotkeyId hotkey,
                                   std::string_view) {
  if (connection_ == nullptr || handler_ == nullptr || keyCode > 0xFFFF) return false;
  const std::uint32_t keysym = KeysymForVirtualKey(static_cast<std::uint16_t>(keyCode));
  if (keysym == 0) return false;
  KeySymbols symbols(xcb_key_symbols_alloc(connection_));
  if (!symbols) return false;
  Grab grab{hotkey, KeycodesOf(symbols, keysym), XModifiersOf(modifiers), {}};
  if (grab.keycodes.empty()) return false;
  // The server lets a client grab its own combination twice; releasing one would drop both.
  for (const Grab& existing : grabs_) {
    if (existing.modifiers != grab.modifiers) continue;
    for (std::uint8_t keycode : grab.keycodes) {
      if (std::find(existing.keycodes.begin(), existing.keycodes.end(), keycode) !=
          existing.keycodes.end()) {
        return false;
      }
    }
  }

  struct Attempt {
    std::uint8_t keycode;
    std::uint16_t modifiers;
    xcb_void_cookie_t cookie;
  };
  std::vector<Attempt> attempts;
  const std::vector<std::uint16_t> variants = LockVariants();
  for (std::uint8_t keycode : grab.keycodes) {
    for (std::uint16_t variant : variants) {
      const auto mask = static_cast<std::uint16_t>(grab.modifiers | variant);
      attempts.push_back({keycode, mask,
                          xcb_grab_key_checked(connection_, 0, root_, mask, keycode,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)});
    }
  }
  // Every grab is checked: another client holding any variant (BadAccess) refuses the key.
  bool refused = false;
  for (const Attempt& attempt : attempts) {
    Reply<xcb_generic_error_t> error(xcb_request_check(connection_, attempt.cookie));
    if (error) {
      refused = true;
    } else {
      grab.held.emplace_back(attempt.keycode, attempt.modifiers);
    }
  }
  if (refused) {
    Ungrab(grab);
    xcb_flush(connection_);
    return false;
  }
  grabs_.push_back(std::move(grab));
  return true;
}

bool X11HotkeyService::UnregisterKey(HotkeyId hotkey) {
  auto it = std::find_if(grabs_.begin(), grabs_.end(),
                         [hotkey](const Grab& g) { return SameHotkey(g.hotkey, hotkey); });
  if (it == grabs_.end()) return false;
  Ungrab(*it);
  xcb_flush(connection_);
  grabs_.erase(it);
  return true;
}

bool X11HotkeyService::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t") return false;
  auto* event = static_cast<xcb_generic_event_t*>(message);
  if ((event->response_type & ~0x80) != XCB_KEY_PRESS) return false;
  auto* press = reinterpret_cast<xcb_key_press_event_t*>(event);
  // Presses over the program's own windows arrive too; a grab reports on the root window.
  if (press->event != root_) return false;
  const std::uint16_t state = press->state & MatchedModifiers;
  for (const Grab& grab : grabs_) {
    if (grab.modifiers != state) continue;
    if (std::find(grab.keycodes.begin(), grab.keycodes.end(), press->detail) ==
        grab.keycodes.end()) {
      continue;
    }
    const HotkeyId hotkey = grab.hotkey;
    if (handler_ != nullptr) handler_(hotkey);
    return true;
  }
  return false;
}
