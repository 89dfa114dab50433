#pragma once

// What a desktop realisation provides to the portable toolkit core: native objects and the
// turning of system events into queued records. The core owns the numbering and the queue; a
// realisation never sees an application number it was not given.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/toolkit.h"

using NativeHandle = void*;

enum class GadgetKind { Text, Button, Checkbox, PopUp, EditCombo, Image, Shortcut };

struct WindowSpec {
  int x = 0, y = 0, width = 0, height = 0;
  std::string title;
  std::uint32_t flags = 0;
};

struct GadgetSpec {
  GadgetKind kind = GadgetKind::Text;
  int x = 0, y = 0, width = 0, height = 0;
  std::string text;
  std::uint32_t flags = 0;
  NativeHandle image = nullptr;
  NativeHandle font = nullptr;
};

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
};

class NativeToolkit {
 public:
  virtual ~NativeToolkit() = default;

  // Windows. The realisation posts CloseWindowEvent for the close button and never closes the
  // window itself.
  virtual NativeHandle CreateWindow(std::int64_t number, const WindowSpec& spec) = 0;
  virtual void DestroyWindow(NativeHandle window) = 0;
  virtual void SetWindowFloating(NativeHandle window, bool on) = 0;
  virtual Rect WindowContentRect(NativeHandle window) = 0;
  virtual void SetWindowContentRect(NativeHandle window, const Rect& rect) = 0;
  virtual void SetWindowTitle(NativeHandle window, std::string_view title) = 0;
  virtual std::string WindowTitle(NativeHandle window) = 0;
  virtual void SetWindowBackground(NativeHandle window, std::int64_t rgb, int cornerRadius) = 0;
  virtual void SetWindowOpacity(NativeHandle window, double opacity) = 0;
  virtual void ActivateWindow(NativeHandle window) = 0;
  // The number of the window that has the focus, or -1.
  virtual std::int64_t ActiveWindow() = 0;
  virtual std::int64_t FocusedGadget() = 0;
  virtual void FocusGadget(NativeHandle gadget) = 0;

  // Gadgets. Realisations post GadgetEvent as the kind's table says.
  virtual NativeHandle CreateGadget(NativeHandle window, std::int64_t number,
                                    const GadgetSpec& spec) = 0;
  virtual void FreeGadget(NativeHandle gadget) = 0;
  virtual void SetGadgetState(NativeHandle gadget, std::int64_t state) = 0;
  virtual std::int64_t GadgetState(NativeHandle gadget) = 0;
  virtual void SetGadgetText(NativeHandle gadget, std::string_view text) = 0;
  virtual std::string GadgetText(NativeHandle gadget) = 0;
  virtual void AddGadgetItem(NativeHandle gadget, int position, std::string_view text,
                             NativeHandle image) = 0;
  virtual void SetGadgetItemText(NativeHandle gadget, int item, std::string_view text) = 0;
  virtual std::string GadgetItemText(NativeHandle gadget, int item) = 0;
  virtual int CountGadgetItems(NativeHandle gadget) = 0;
  virtual void DisableGadget(NativeHandle gadget, bool disabled) = 0;
  virtual void SetGadgetToolTip(NativeHandle gadget, std::string_view text) = 0;
  // The grey hint an empty text field shows.
  virtual void SetGadgetPlaceholder(NativeHandle gadget, std::string_view text) = 0;
  virtual void SetGadgetFont(NativeHandle gadget, NativeHandle font) = 0;
  virtual void SetGadgetColor(NativeHandle gadget, int colorType, std::int64_t rgb) = 0;

  // Fonts and images.
  virtual NativeHandle CreateFont(std::string_view family, double size) = 0;
  virtual void ReleaseFont(NativeHandle font) = 0;
  virtual NativeHandle LoadImage(std::string_view path) = 0;
  // The icon theme's image for a freedesktop icon name, or null when the theme has none.
  virtual NativeHandle LoadThemeIcon(std::string_view name) = 0;
  virtual int ImageWidth(NativeHandle image) = 0;
  virtual int ImageHeight(NativeHandle image) = 0;
  virtual void ResizeImage(NativeHandle image, int width, int height) = 0;
  virtual void SetImageSize(NativeHandle image, double width, double height) = 0;
  virtual void ReleaseImage(NativeHandle image) = 0;

  // Menus. Texts arrive split into title and shortcut hint.
  virtual NativeHandle CreateMenu(std::int64_t number) = 0;
  virtual void AddMenuItem(NativeHandle menu, std::int64_t item, std::string_view text,
                           NativeHandle image) = 0;
  virtual void AddMenuSeparator(NativeHandle menu) = 0;
  virtual NativeHandle AddSubMenu(NativeHandle menu, std::string_view text, NativeHandle image) = 0;
  virtual void SetMenuItemDisabled(NativeHandle menu, std::int64_t item, bool disabled) = 0;
  virtual void SetMenuItemTitle(NativeHandle menu, std::int64_t item, std::string_view text) = 0;
  virtual void FreeMenu(NativeHandle menu) = 0;

  // Status item.
  virtual bool CreateStatusItem() = 0;
  virtual void SetStatusItemImage(NativeHandle image) = 0;
  virtual void SetStatusItemMenu(NativeHandle menu) = 0;
  virtual void RemoveStatusItem() = 0;

  // Displays and pointer.
  virtual std::vector<DisplayRect> Displays() = 0;
  virtual Point PointerLocation() = 0;
  virtual double MainDisplayScale() = 0;

  // Timers: the realisation calls TimerFired(timer) on the main thread.
  virtual void StartTimer(std::int64_t timer, int intervalMs) = 0;
  virtual void StopTimer(std::int64_t timer) = 0;

  virtual bool IsDarkAppearance() = 0;

  // Waits up to timeoutMs (forever when negative) for one system event and handles it,
  // offering key presses to the core first (DispatchKeyPress). Returns false on time-out.
  virtual bool ProcessSystemEvent(int timeoutMs) = 0;
  virtual bool SystemEventPending() = 0;
  // Makes a blocked ProcessSystemEvent return.
  virtual void Wake() = 0;
};

// Called by the core around the realisation's lifetime.
void InstallNativeToolkit(NativeToolkit* toolkit);
NativeToolkit* InstalledNativeToolkit();

// Entry points of the core for realisations.
// Offers a key press to the key hooks, then to the window's keyboard shortcuts; true when
// consumed (the realisation then drops the native event).
bool DispatchKeyPress(const KeyPress& press);
void PostToolkitEvent(std::int32_t kind, std::int64_t object, std::int64_t window,
                      std::int64_t type);
void TimerFired(std::int64_t timer);
