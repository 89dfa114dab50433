#pragma once

#include <xcb/render.h>
#include <xcb/xcb.h>

#include <string>
#include <vector>

#include "frozen_screen.h"
#include "screen_rect.h"

// What the selection overlay shows: the selection and, once the pointer has been seen, the
// magnifier beside it.
struct OverlayView {
  ScreenRect selection;
  bool handles = false;  // the selection can be adjusted
  bool pointerSeen = false;
  int pointerX = 0;
  int pointerY = 0;
};

// One override-redirect window over the whole root showing the frozen screen dimmed, the
// selection undimmed with its border, handles and its size, and a magnifier at the pointer. Its
// background is None: the server leaves what was on screen there until the frozen screen is
// painted over it. Each change repaints only what changed, so a frame stays cheap on big screens.
class SelectionOverlay {
 public:
  SelectionOverlay(xcb_connection_t* connection, xcb_screen_t* screen,
                   xcb_render_pictformat_t format);
  SelectionOverlay(const SelectionOverlay&) = delete;
  SelectionOverlay& operator=(const SelectionOverlay&) = delete;
  ~SelectionOverlay();

  // Returns once the server has mapped the window: it tells other clients (and flushes its
  // events) before it gets busy with the copy that follows.
  void show();
  void showFrozen(const FrozenScreen* frozen);
  void redrawAfterExpose(const xcb_expose_event_t& expose);
  void update(const OverlayView& view);

 private:
  struct Plate {
    ScreenRect area;
    std::string text;
  };
  std::vector<ScreenRect> decorations(const OverlayView& view) const;
  Plate readoutPlate(ScreenRect selection) const;
  std::string magnifierLabel() const;
  ScreenRect magnifierBox(const OverlayView& view) const;
  void paintBase(ScreenRect area);
  void drawDecorations();
  void drawPlate(const Plate& plate);
  void drawMagnifier(ScreenRect box);
  uint32_t frozenPixel(int x, int y) const;
  xcb_gcontext_t makeGc(uint32_t foreground, uint32_t lineWidth);

  xcb_connection_t* connection_;
  xcb_screen_t* screen_;
  xcb_render_pictformat_t format_;
  xcb_window_t window_;
  xcb_gcontext_t borderGc_, frameGc_, handleGc_, plateGc_, gridGc_, markGc_;
  xcb_font_t font_ = XCB_NONE;  // opened once the overlay shows, with the GC that writes in it
  xcb_gcontext_t textGc_ = XCB_NONE;
  xcb_render_picture_t zoomed_ = XCB_NONE;
  xcb_render_picture_t target_ = XCB_NONE;
  int glyphWidth_ = 0;
  int ascent_ = 0;
  int descent_ = 0;
  const FrozenScreen* frozen_ = nullptr;
  OverlayView view_;
};
