#include "platform/toolkit.h"

#include <vector>

#include "platform/toolkit_state.h"

using namespace toolkit_core;

// Windows.

std::int64_t NewWindow(std::int64_t number, int x, int y, int width, int height,
                       std::string_view title, std::uint32_t flags) {
  Toolkit& t = T();
  if (t.native == nullptr) return 0;
  if (number != AutoNumber) DestroyWindow(number);
  const std::int64_t chosen = t.windows.Choose(number);
  WindowSpec spec;
  spec.x = x;
  spec.y = y;
  spec.width = width;
  spec.height = height;
  spec.title = std::string(title);
  spec.flags = flags;
  if (x == IgnoreCoordinate || y == IgnoreCoordinate) spec.flags |= WindowCentred;
  // What the window's own set-up causes is not the user's doing.
  t.queue.Suspend();
  NativeHandle native = t.native->CreateWindow(chosen, spec);
  t.queue.Resume();
  if (native == nullptr) return 0;
  t.windows.records[chosen].native = native;
  t.currentWindow = chosen;
  return chosen;
}

void DestroyWindow(std::int64_t number) {
  Toolkit& t = T();
  WindowRecord* window = t.windows.Find(number);
  if (window == nullptr) return;
  std::vector<std::int64_t> owned;
  for (const auto& [gadget, record] : t.gadgets.records) {
    if (record.window == number) owned.push_back(gadget);
  }
  for (std::int64_t gadget : owned) FreeGadget(gadget);
  NativeHandle native = window->native;
  t.windows.records.erase(number);
  if (t.currentWindow == number) t.currentWindow = -1;
  t.native->DestroyWindow(native);
  t.queue.RemoveWindowEvents(number);
}

int WindowExists(std::int64_t number) {
  return T().windows.Find(number) != nullptr ? 1 : 0;
}

void* WindowObject(std::int64_t number) {
  WindowRecord* window = T().windows.Find(number);
  return window == nullptr ? nullptr : window->native;
}

void SetWindowFloating(std::int64_t number, int on) {
  if (WindowRecord* w = T().windows.Find(number)) N()->SetWindowFloating(w->native, on != 0);
}

namespace {
Rect ContentRect(std::int64_t number) {
  WindowRecord* w = T().windows.Find(number);
  return w == nullptr ? Rect{} : N()->WindowContentRect(w->native);
}
}  // namespace

int WindowX(std::int64_t number) {
  return ContentRect(number).x;
}
int WindowY(std::int64_t number) {
  return ContentRect(number).y;
}
int WindowContentWidth(std::int64_t number) {
  return ContentRect(number).width;
}
int WindowContentHeight(std::int64_t number) {
  return ContentRect(number).height;
}

void MoveWindow(std::int64_t number, int x, int y, int width, int height) {
  WindowRecord* w = T().windows.Find(number);
  if (w == nullptr) return;
  Rect r = N()->WindowContentRect(w->native);
  if (x != IgnoreCoordinate) r.x = x;
  if (y != IgnoreCoordinate) r.y = y;
  if (width != IgnoreCoordinate) r.width = width;
  if (height != IgnoreCoordinate) r.height = height;
  N()->SetWindowContentRect(w->native, r);
}

void SetWindowTitle(std::int64_t number, std::string_view title) {
  if (WindowRecord* w = T().windows.Find(number)) N()->SetWindowTitle(w->native, title);
}

std::string GetWindowTitle(std::int64_t number) {
  WindowRecord* w = T().windows.Find(number);
  return w == nullptr ? std::string() : N()->WindowTitle(w->native);
}

void SetWindowBackground(std::int64_t number, std::int64_t rgb, int cornerRadius) {
  if (WindowRecord* w = T().windows.Find(number)) {
    N()->SetWindowBackground(w->native, rgb & 0xFFFFFF, cornerRadius < 0 ? 0 : cornerRadius);
  }
}

void SetWindowOpacity(std::int64_t number, double opacity) {
  if (WindowRecord* w = T().windows.Find(number)) {
    N()->SetWindowOpacity(w->native, opacity < 0 ? 0 : opacity > 1 ? 1 : opacity);
  }
}

std::int64_t ActiveWindow() {
  return N() == nullptr ? -1 : N()->ActiveWindow();
}
std::int64_t FocusedGadget() {
  return N() == nullptr ? -1 : N()->FocusedGadget();
}

void SetActiveGadget(std::int64_t gadget) {
  GadgetRecord* g = T().gadgets.Find(gadget);
  if (g == nullptr) return;
  if (WindowRecord* w = T().windows.Find(g->window)) N()->ActivateWindow(w->native);
  N()->FocusGadget(g->native);
}

// Displays.

int DisplayCount() {
  return N() == nullptr ? 0 : static_cast<int>(N()->Displays().size());
}

DisplayRect DisplayGeometry(int index) {
  if (N() == nullptr) return {};
  const std::vector<DisplayRect> displays = N()->Displays();
  if (index < 0 || index >= static_cast<int>(displays.size())) return {};
  return displays[static_cast<std::size_t>(index)];
}

Point PointerLocation() {
  return N() == nullptr ? Point{} : N()->PointerLocation();
}
double MainDisplayScale() {
  return N() == nullptr ? 0.0 : N()->MainDisplayScale();
}
