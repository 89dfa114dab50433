#pragma once

// The desktop as tests drive it: every native object holds its state in memory, and the
// system events a person would cause are pushed in and handled one per wait of the loop, as a
// real desktop hands them over.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/headless/headless_objects.h"
#include "platform/native_toolkit.h"

namespace headless {

class Toolkit : public NativeToolkit {
 public:
  Toolkit();
  ~Toolkit() override;

  // System events, in the order a person causes them.
  void ClickGadget(std::int64_t gadget);
  void SelectGadgetItem(std::int64_t gadget, int index);
  void TypeInGadget(std::int64_t gadget, const std::string& text);
  void FocusGadgetByUser(std::int64_t gadget);
  void PressKey(const KeyPress& press);
  void PressCloseButton(std::int64_t window);
  // Chooses an item of the status menu (or of any toolkit menu) as a click would.
  void ChooseMenuItem(std::int64_t menu, std::int64_t item);
  void DragWindow(std::int64_t window, int x, int y);
  void TickTimer(std::int64_t timer);
  void ChangeAppearance(bool dark);
  // Anything else the desktop does inside its event handling (a hot-key press, say).
  void PushSystemEvent(std::function<void()> event);

  // Handles every pushed system event now, outside any wait.
  void HandlePendingEvents();
  std::size_t PendingEventCount() const { return pending_.size(); }

  // The screen.
  void SetDisplays(std::vector<DisplayRect> displays) { displays_ = std::move(displays); }
  void SetPointer(Point pointer) { pointer_ = pointer; }
  void SetScale(double scale) { scale_ = scale; }
  void SetDark(bool dark) { dark_ = dark; }
  // The icon names the desktop's icon theme has.
  void SetThemeIcons(std::set<std::string> names) { themeIcons_ = std::move(names); }

  // What a person sees.
  struct WindowLook {
    std::int64_t background = -1;  // 0xBBGGRR, or -1 for the desktop's own
    int cornerRadius = 0;
    double opacity = 1.0;
  };
  WindowLook LookOf(std::int64_t window) const;
  const Window* FindWindow(std::int64_t number) const;
  const Gadget* FindGadget(std::int64_t number) const;
  const StatusItem& Status() const { return status_; }
  const MenuItem* FindMenuItem(std::int64_t menu, std::int64_t item) const;
  std::vector<std::int64_t> RunningTimers() const;
  int TimerInterval(std::int64_t timer) const;
  int WakeCount() const { return wakes_; }
  bool AppearanceObserved() const { return observingAppearance_; }
  void SetAppearanceObserved(bool on) { observingAppearance_ = on; }

  // NativeToolkit.
  NativeHandle CreateWindow(std::int64_t number, const WindowSpec& spec) override;
  void DestroyWindow(NativeHandle window) override;
  void SetWindowFloating(NativeHandle window, bool on) override;
  Rect WindowContentRect(NativeHandle window) override;
  void SetWindowContentRect(NativeHandle window, const Rect& rect) override;
  void SetWindowTitle(NativeHandle window, std::string_view title) override;
  std::string WindowTitle(NativeHandle window) override;
  void SetWindowBackground(NativeHandle window, std::int64_t rgb, int cornerRadius) override;
  void SetWindowOpacity(NativeHandle window, double opacity) override;
  void ActivateWindow(NativeHandle window) override;
  std::int64_t ActiveWindow() override;
  std::int64_t FocusedGadget() override;
  void FocusGadget(NativeHandle gadget) override;
  NativeHandle CreateGadget(NativeHandle window, std::int64_t number,
                            const GadgetSpec& spec) override;
  void FreeGadget(NativeHandle gadget) override;
  void SetGadgetState(NativeHandle gadget, std::int64_t state) override;
  std::int64_t GadgetState(NativeHandle gadget) override;
  void SetGadgetText(NativeHandle gadget, std::string_view text) override;
  std::string GadgetText(NativeHandle gadget) override;
  void AddGadgetItem(NativeHandle gadget, int position, std::string_view text,
                     NativeHandle image) override;
  void SetGadgetItemText(NativeHandle gadget, int item, std::string_view text) override;
  std::string GadgetItemText(NativeHandle gadget, int item) override;
  int CountGadgetItems(NativeHandle gadget) override;
  void DisableGadget(NativeHandle gadget, bool disabled) override;
  void SetGadgetToolTip(NativeHandle gadget, std::string_view text) override;
  void SetGadgetPlaceholder(NativeHandle gadget, std::string_view text) override;
  void SetGadgetFont(NativeHandle gadget, NativeHandle font) override;
  void SetGadgetColor(NativeHandle gadget, int colorType, std::int64_t rgb) override;
  NativeHandle CreateFont(std::string_view family, double size) override;
  void ReleaseFont(NativeHandle font) override;
  NativeHandle LoadImage(std::string_view path) override;
  NativeHandle LoadThemeIcon(std::string_view name) override;
  int ImageWidth(NativeHandle image) override;
  int ImageHeight(NativeHandle image) override;
  void ResizeImage(NativeHandle image, int width, int height) override;
  void SetImageSize(NativeHandle image, double width, double height) override;
  void ReleaseImage(NativeHandle image) override;
  NativeHandle CreateMenu(std::int64_t number) override;
  void AddMenuItem(NativeHandle menu, std::int64_t item, std::string_view text,
                   NativeHandle image) override;
  void AddMenuSeparator(NativeHandle menu) override;
  NativeHandle AddSubMenu(NativeHandle menu, std::string_view text, NativeHandle image) override;
  void SetMenuItemDisabled(NativeHandle menu, std::int64_t item, bool disabled) override;
  void SetMenuItemTitle(NativeHandle menu, std::int64_t item, std::string_view text) override;
  void FreeMenu(NativeHandle menu) override;
  bool CreateStatusItem() override;
  void SetStatusItemImage(NativeHandle image) override;
  void SetStatusItemMenu(NativeHandle menu) override;
  void RemoveStatusItem() override;
  std::vector<DisplayRect> Displays() override { return displays_; }
  Point PointerLocation() override { return pointer_; }
  double MainDisplayScale() override { return scale_; }
  void StartTimer(std::int64_t timer, int intervalMs) override;
  void StopTimer(std::int64_t timer) override;
  bool IsDarkAppearance() override { return dark_; }
  bool ProcessSystemEvent(int timeoutMs) override;
  bool SystemEventPending() override { return !pending_.empty(); }
  void Wake() override { ++wakes_; }

 private:
  Gadget* GadgetByNumber(std::int64_t number);
  Window* WindowByNumber(std::int64_t number);
  void HandleOne();

  std::deque<std::function<void()>> pending_;
  std::vector<std::unique_ptr<Window>> windows_;
  std::vector<std::unique_ptr<Gadget>> gadgets_;
  std::vector<std::unique_ptr<Menu>> menus_;
  std::vector<std::unique_ptr<Image>> images_;
  std::vector<std::unique_ptr<Font>> fonts_;
  std::map<std::int64_t, int> timers_;
  std::map<std::int64_t, WindowLook> looks_;
  StatusItem status_;
  std::set<std::string> themeIcons_;
  std::vector<DisplayRect> displays_{{0, 0, 1280, 800}};
  Point pointer_{640, 400};
  double scale_ = 1.0;
  bool dark_ = false;
  bool observingAppearance_ = false;
  int wakes_ = 0;
  Window* active_ = nullptr;
};

}  // namespace headless
