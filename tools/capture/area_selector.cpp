#include "area_selector.h"

#include <X11/cursorfont.h>
#include <X11/keysym.h>

#include <cstdlib>

#include "input_grab.h"
#include "selection_cursor.h"
#include "selection_geometry.h"
#include "selection_overlay.h"
#include "xcb_handles.h"

namespace {

constexpr xcb_timestamp_t kDoubleClickTime = 400;  // ms, as the server counts
constexpr int kDoubleClickReach = 4;

enum class Phase {
  Waiting,    // for the first drag
  Drawing,    // button held: the pointer spans a new rectangle
  Adjusting,  // a rectangle is there and can be changed
  Holding,    // button held on a handle or inside
};

// Everything the user has done so far.
struct Selecting {
  Phase phase = Phase::Waiting;
  ScreenRect selection;
  ScreenRect before;  // restored when a new drag turns out to be a click
  ScreenRect root;
  const std::vector<ScreenRect>* displays = nullptr;
  int anchorX = 0, anchorY = 0;  // where the drag began
  int lastX = 0, lastY = 0;      // where the pointer was at the last event
  unsigned held = kNoEdge;
  ScreenRect heldFrom;  // the selection when the move began
  bool spaceDown = false;
  xcb_timestamp_t spaceUpTime = 0;
  xcb_timestamp_t pressTime = 0;
  int pressX = -100, pressY = -100;  // off the screen until the first press
  OverlayView view;
  std::optional<PickOutcome::Result> ended;
};

void pointerAt(Selecting& s, int x, int y) {
  s.view.pointerSeen = true;
  s.view.pointerX = x;
  s.view.pointerY = y;
}

void moved(Selecting& s, int x, int y) {
  pointerAt(s, x, y);
  bool buttonDown = s.phase == Phase::Drawing || s.phase == Phase::Holding;
  if (buttonDown && s.spaceDown) {
    // The rectangle follows the pointer at its size; what spans or resizes it moves along.
    ScreenRect shifted = moveWithin(s.selection, x - s.lastX, y - s.lastY, s.root);
    s.anchorX += shifted.x - s.selection.x;
    s.anchorY += shifted.y - s.selection.y;
    s.pressX += shifted.x - s.selection.x;
    s.pressY += shifted.y - s.selection.y;
    s.heldFrom =
        moveWithin(s.heldFrom, shifted.x - s.selection.x, shifted.y - s.selection.y, s.root);
    s.selection = shifted;
  } else if (s.phase == Phase::Drawing) {
    s.selection = dragArea(s.anchorX, s.anchorY, x, y, *s.displays);
  } else if (s.phase == Phase::Holding && s.held == kInside) {
    s.selection = moveWithin(s.heldFrom, x - s.pressX, y - s.pressY, s.root);
  } else if (s.phase == Phase::Holding) {
    s.selection = resizeTo(s.selection, s.held, x, y, *s.displays);
  }
  s.lastX = x;
  s.lastY = y;
}

void pressed(Selecting& s, const xcb_button_press_event_t& press) {
  int x = press.root_x, y = press.root_y;
  pointerAt(s, x, y);
  if (press.detail == 3) {
    s.ended = PickOutcome::Result::Cancelled;
    return;
  }
  if (press.detail != 1) return;
  bool again = press.time - s.pressTime <= kDoubleClickTime &&
               std::abs(x - s.pressX) <= kDoubleClickReach &&
               std::abs(y - s.pressY) <= kDoubleClickReach;
  s.pressTime = press.time;
  s.pressX = x;
  s.pressY = y;
  s.lastX = x;
  s.lastY = y;
  if (s.phase == Phase::Adjusting && again) {
    s.ended = PickOutcome::Result::Picked;
    return;
  }
  s.held = s.phase == Phase::Adjusting ? heldPart(s.selection, x, y) : kNoEdge;
  if (s.held != kNoEdge) {
    s.phase = Phase::Holding;
    s.heldFrom = s.selection;
    return;
  }
  s.phase = Phase::Drawing;
  s.before = s.selection;
  s.anchorX = x;
  s.anchorY = y;
}

void released(Selecting& s, const xcb_button_release_event_t& release) {
  if (release.detail != 1) return;
  if (s.phase == Phase::Drawing) {
    moved(s, release.root_x, release.root_y);
    if (s.selection.empty()) s.selection = s.before;
    if (s.selection.empty()) s.ended = PickOutcome::Result::Cancelled;
  }
  if (s.phase == Phase::Drawing || s.phase == Phase::Holding) s.phase = Phase::Adjusting;
}

void keyPressed(Selecting& s, xcb_keysym_t key, const xcb_key_press_event_t& event) {
  bool taking = !s.selection.empty() && s.phase != Phase::Waiting;
  int step = event.state & XCB_MOD_MASK_SHIFT ? 10 : 1;
  int dx = 0, dy = 0;
  switch (key) {
    case XK_Escape: s.ended = PickOutcome::Result::Cancelled; return;
    case XK_Return:
    case XK_KP_Enter:
      if (taking) s.ended = PickOutcome::Result::Picked;
      return;
    case XK_space:
      // A held key repeats as a release and a press at the same time: it goes on being held.
      if (s.phase == Phase::Drawing || s.phase == Phase::Holding || event.time == s.spaceUpTime) {
        s.spaceDown = true;
      } else if (taking) {
        s.ended = PickOutcome::Result::Picked;
      }
      return;
    case XK_Left:
    case XK_KP_Left: dx = -step; break;
    case XK_Right:
    case XK_KP_Right: dx = step; break;
    case XK_Up:
    case XK_KP_Up: dy = -step; break;
    case XK_Down:
    case XK_KP_Down: dy = step; break;
    default: return;
  }
  if (s.phase != Phase::Adjusting) return;
  s.selection = event.state & XCB_MOD_MASK_1 ? growWithin(s.selection, dx, dy, s.root)
                                             : moveWithin(s.selection, dx, dy, s.root);
}

void handle(Selecting& s, const xcb_generic_event_t* event, SelectionOverlay& overlay,
            const KeyMap& keys) {
  switch (event->response_type & ~0x80) {
    case XCB_EXPOSE:
      overlay.redrawAfterExpose(*reinterpret_cast<const xcb_expose_event_t*>(event));
      break;
    case XCB_BUTTON_PRESS:
      pressed(s, *reinterpret_cast<const xcb_button_press_event_t*>(event));
      break;
    case XCB_BUTTON_RELEASE:
      released(s, *reinterpret_cast<const xcb_button_release_event_t*>(event));
      break;
    case XCB_MOTION_NOTIFY: {
      auto* motion = reinterpret_cast<const xcb_motion_notify_event_t*>(event);
      moved(s, motion->root_x, motion->root_y);
      break;
    }
    case XCB_KEY_PRESS: {
      auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
      keyPressed(s, keys.symbolOf(key->detail), *key);
      break;
    }
    case XCB_KEY_RELEASE: {
      auto* key = reinterpret_cast<const xcb_key_release_event_t*>(event);
      if (keys.symbolOf(key->detail) == XK_space) {
        s.spaceDown = false;
        s.spaceUpTime = key->time;
      }
      break;
    }
    default: break;
  }
}

// What the pointer holds or would take hold of with a press.
unsigned partUnderPointer(const Selecting& s) {
  if (s.phase == Phase::Holding) return s.held;
  if (s.phase != Phase::Adjusting || !s.view.pointerSeen) return kNoEdge;
  return heldPart(s.selection, s.view.pointerX, s.view.pointerY);
}

}  // namespace

PickOutcome selectArea(xcb_connection_t* connection, xcb_screen_t* screen, bool composited,
                       const std::vector<ScreenRect>& displays, std::optional<ScreenRect> start,
                       std::optional<FrozenScreen>& frozen) {
  PickOutcome outcome;
  xcb_render_pictformat_t format = rootPictureFormat(connection, screen);
  // Under a compositor the overlay's contents would not be the screen's: freeze first.
  if (composited) frozen.emplace(connection, screen, format);
  SelectionOverlay overlay(connection, screen, format);
  xcb_cursor_t cursor = createFontCursor(connection, XC_crosshair);
  constexpr uint16_t pointerEvents =
      XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION;
  InputGrab grab(connection, screen->root, cursor, pointerEvents);
  xcb_free_cursor(connection, cursor);
  if (!grab.held()) {
    outcome.problem = "another program holds the pointer or keyboard";
    return outcome;
  }
  overlay.show();
  if (!frozen) frozen.emplace(connection, screen, format);
  overlay.showFrozen(&*frozen);

  Selecting s;
  s.root = {0, 0, screen->width_in_pixels, screen->height_in_pixels};
  s.displays = &displays;
  if (start) {
    s.phase = Phase::Adjusting;
    s.selection = *start;
  }
  KeyMap keys(connection);
  SelectionCursor pointer(connection, pointerEvents);
  s.view.selection = s.selection;
  s.view.handles = s.phase == Phase::Adjusting;
  overlay.update(s.view);
  while (XcbReply<xcb_generic_event_t> event{xcb_wait_for_event(connection)}) {
    // What has queued up meanwhile is taken in at once and shown in one frame.
    for (XcbReply<xcb_generic_event_t> next = std::move(event); next && !s.ended;
         next.reset(xcb_poll_for_queued_event(connection))) {
      handle(s, next.get(), overlay, keys);
    }
    if (s.ended) {
      outcome.result = *s.ended;
      if (outcome.result == PickOutcome::Result::Picked) outcome.area = s.selection;
      return outcome;
    }
    s.view.selection = s.selection;
    s.view.handles = s.phase == Phase::Adjusting;
    overlay.update(s.view);
    pointer.show(partUnderPointer(s));
  }
  outcome.problem = "the connection to the display was lost";
  return outcome;
}
