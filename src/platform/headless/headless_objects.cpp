#include <algorithm>
#include <fstream>

#include "platform/headless/headless_menu_items.h"
#include "platform/headless/headless_toolkit.h"
#include "platform/menu_item_text.h"
#include "platform/utf.h"

// The native objects of the headless desktop: each holds what a person would see.

namespace headless {

namespace {

Window* AsWindow(NativeHandle h) {
  return static_cast<Window*>(h);
}
Gadget* AsGadget(NativeHandle h) {
  return static_cast<Gadget*>(h);
}
Menu* AsMenu(NativeHandle h) {
  return static_cast<Menu*>(h);
}
Image* AsImage(NativeHandle h) {
  return static_cast<Image*>(h);
}

// The pixel size from a PNG file's header; false for anything that is not a readable PNG.
bool ReadPngSize(std::string_view path, int& width, int& height) {
  std::ifstream file{std::string(path), std::ios::binary};
  unsigned char header[24] = {};
  if (!file.read(reinterpret_cast<char*>(header), sizeof header)) return false;
  static constexpr unsigned char Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (!std::equal(std::begin(Signature), std::end(Signature), header)) return false;
  auto be32 = [&](int at) {
    return (header[at] << 24) | (header[at + 1] << 16) | (header[at + 2] << 8) | header[at + 3];
  };
  width = be32(16);
  height = be32(20);
  return width > 0 && height > 0;
}

void ForgetMenuImage(Menu& menu, const Image* image) {
  for (MenuItem& entry : menu.items) {
    if (entry.image == image) entry.image = nullptr;
    if (entry.submenu) ForgetMenuImage(*entry.submenu, image);
  }
}

void SetItemText(MenuItem& item, std::string_view text) {
  const MenuItemText parsed = ReadMenuItemText(text);
  item.text = std::string(text);
  item.title = parsed.title;
  item.keyEquivalent = Utf16ToUtf8(parsed.keyEquivalent);
  item.modifierMask = parsed.modifierMask;
}

}  // namespace

MenuItem* FindItemIn(Menu& menu, std::int64_t item) {
  for (MenuItem& entry : menu.items) {
    if (!entry.separator && entry.number == item) return &entry;
    if (entry.submenu) {
      if (MenuItem* found = FindItemIn(*entry.submenu, item)) return found;
    }
  }
  return nullptr;
}

Toolkit::Toolkit() = default;
Toolkit::~Toolkit() = default;

// Look-ups.

Window* Toolkit::WindowByNumber(std::int64_t number) {
  for (const auto& w : windows_) {
    if (w->number == number) return w.get();
  }
  return nullptr;
}

Gadget* Toolkit::GadgetByNumber(std::int64_t number) {
  for (const auto& g : gadgets_) {
    if (g->number == number) return g.get();
  }
  return nullptr;
}

const Window* Toolkit::FindWindow(std::int64_t number) const {
  return const_cast<Toolkit*>(this)->WindowByNumber(number);
}

const Gadget* Toolkit::FindGadget(std::int64_t number) const {
  return const_cast<Toolkit*>(this)->GadgetByNumber(number);
}

const MenuItem* Toolkit::FindMenuItem(std::int64_t menu, std::int64_t item) const {
  for (const auto& m : menus_) {
    if (m->number == menu) return FindItemIn(*m, item);
  }
  return nullptr;
}

std::vector<std::int64_t> Toolkit::RunningTimers() const {
  std::vector<std::int64_t> running;
  for (const auto& [timer, interval] : timers_) running.push_back(timer);
  return running;
}

int Toolkit::TimerInterval(std::int64_t timer) const {
  auto it = timers_.find(timer);
  return it == timers_.end() ? 0 : it->second;
}

// Windows.

NativeHandle Toolkit::CreateWindow(std::int64_t number, const WindowSpec& spec) {
  auto window = std::make_unique<Window>();
  window->number = number;
  window->title = spec.title;
  window->flags = spec.flags;
  window->frame = {spec.x, spec.y, spec.width, spec.height};
  if ((spec.flags & WindowCentred) != 0 && !displays_.empty()) {
    const DisplayRect& main = displays_.front();
    window->frame.x = main.x + (main.width - spec.width) / 2;
    window->frame.y = main.y + (main.height - spec.height) / 2;
  }
  window->visible = (spec.flags & WindowHidden) == 0;
  if (window->visible) active_ = window.get();
  windows_.push_back(std::move(window));
  return windows_.back().get();
}

void Toolkit::DestroyWindow(NativeHandle handle) {
  Window* window = AsWindow(handle);
  looks_.erase(window->number);
  if (active_ == window) {
    active_ = nullptr;
    for (const auto& w : windows_) {
      if (w.get() != window && w->visible) active_ = w.get();
    }
  }
  std::erase_if(windows_, [window](const auto& w) { return w.get() == window; });
}

void Toolkit::SetWindowFloating(NativeHandle window, bool on) {
  AsWindow(window)->floating = on;
}

Rect Toolkit::WindowContentRect(NativeHandle window) {
  return AsWindow(window)->frame;
}

void Toolkit::SetWindowContentRect(NativeHandle window, const Rect& rect) {
  AsWindow(window)->frame = rect;
}

void Toolkit::SetWindowTitle(NativeHandle window, std::string_view title) {
  AsWindow(window)->title = std::string(title);
}

std::string Toolkit::WindowTitle(NativeHandle window) {
  return AsWindow(window)->title;
}

void Toolkit::SetWindowBackground(NativeHandle window, std::int64_t rgb, int cornerRadius) {
  WindowLook& look = looks_[AsWindow(window)->number];
  look.background = rgb;
  look.cornerRadius = cornerRadius;
}

void Toolkit::SetWindowOpacity(NativeHandle window, double opacity) {
  looks_[AsWindow(window)->number].opacity = opacity;
}

Toolkit::WindowLook Toolkit::LookOf(std::int64_t window) const {
  auto it = looks_.find(window);
  return it == looks_.end() ? WindowLook{} : it->second;
}

void Toolkit::ActivateWindow(NativeHandle window) {
  active_ = AsWindow(window);
  active_->visible = true;
}

std::int64_t Toolkit::ActiveWindow() {
  return active_ == nullptr ? -1 : active_->number;
}

std::int64_t Toolkit::FocusedGadget() {
  if (active_ == nullptr || active_->focused == nullptr) return -1;
  return active_->focused->number;
}

void Toolkit::FocusGadget(NativeHandle gadget) {
  Gadget* g = AsGadget(gadget);
  g->window->focused = g;
}

// Gadgets.

NativeHandle Toolkit::CreateGadget(NativeHandle window, std::int64_t number,
                                   const GadgetSpec& spec) {
  auto gadget = std::make_unique<Gadget>();
  gadget->number = number;
  gadget->kind = spec.kind;
  gadget->window = AsWindow(window);
  gadget->frame = {spec.x, spec.y, spec.width, spec.height};
  gadget->text = spec.text;
  gadget->flags = spec.flags;
  gadget->font = static_cast<Font*>(spec.font);
  gadget->image = AsImage(spec.image);
  gadget->window->gadgets.push_back(gadget.get());
  gadgets_.push_back(std::move(gadget));
  return gadgets_.back().get();
}

void Toolkit::FreeGadget(NativeHandle handle) {
  Gadget* gadget = AsGadget(handle);
  Window* window = gadget->window;
  std::erase(window->gadgets, gadget);
  if (window->focused == gadget) window->focused = nullptr;
  std::erase_if(gadgets_, [gadget](const auto& g) { return g.get() == gadget; });
}

void Toolkit::SetGadgetState(NativeHandle gadget, std::int64_t state) {
  Gadget* g = AsGadget(gadget);
  if (g->kind == GadgetKind::PopUp || g->kind == GadgetKind::EditCombo) {
    if (state < 0 || state >= static_cast<std::int64_t>(g->items.size())) return;
    if (g->kind == GadgetKind::EditCombo) g->text = g->items[static_cast<std::size_t>(state)];
  }
  g->state = state;
}

std::int64_t Toolkit::GadgetState(NativeHandle gadget) {
  return AsGadget(gadget)->state;
}

void Toolkit::SetGadgetText(NativeHandle gadget, std::string_view text) {
  AsGadget(gadget)->text = std::string(text);
}

std::string Toolkit::GadgetText(NativeHandle gadget) {
  Gadget* g = AsGadget(gadget);
  if (g->kind == GadgetKind::PopUp) {
    if (g->state < 0 || g->state >= static_cast<std::int64_t>(g->items.size())) return {};
    return g->items[static_cast<std::size_t>(g->state)];
  }
  return g->text;
}

void Toolkit::AddGadgetItem(NativeHandle gadget, int position, std::string_view text,
                            NativeHandle image) {
  Gadget* g = AsGadget(gadget);
  const auto size = static_cast<int>(g->items.size());
  const int at = position < 0 || position > size ? size : position;
  g->items.insert(g->items.begin() + at, std::string(text));
  g->itemImages.insert(g->itemImages.begin() + at, AsImage(image));
}

void Toolkit::SetGadgetItemText(NativeHandle gadget, int item, std::string_view text) {
  Gadget* g = AsGadget(gadget);
  if (item >= 0 && item < static_cast<int>(g->items.size())) {
    g->items[static_cast<std::size_t>(item)] = std::string(text);
  }
}

std::string Toolkit::GadgetItemText(NativeHandle gadget, int item) {
  Gadget* g = AsGadget(gadget);
  if (item < 0 || item >= static_cast<int>(g->items.size())) return {};
  return g->items[static_cast<std::size_t>(item)];
}

int Toolkit::CountGadgetItems(NativeHandle gadget) {
  return static_cast<int>(AsGadget(gadget)->items.size());
}

void Toolkit::DisableGadget(NativeHandle gadget, bool disabled) {
  AsGadget(gadget)->disabled = disabled;
}

void Toolkit::SetGadgetToolTip(NativeHandle gadget, std::string_view text) {
  AsGadget(gadget)->toolTip = std::string(text);
}

void Toolkit::SetGadgetPlaceholder(NativeHandle gadget, std::string_view text) {
  AsGadget(gadget)->placeholder = std::string(text);
}

void Toolkit::SetGadgetFont(NativeHandle gadget, NativeHandle font) {
  AsGadget(gadget)->font = static_cast<Font*>(font);
}

void Toolkit::SetGadgetColor(NativeHandle gadget, int, std::int64_t rgb) {
  AsGadget(gadget)->color = rgb < 0 ? -1 : (rgb & 0xFFFFFF);
}

// Fonts and images.

NativeHandle Toolkit::CreateFont(std::string_view family, double size) {
  if (family.empty() || size <= 0) return nullptr;
  fonts_.push_back(std::make_unique<Font>(Font{std::string(family), size}));
  return fonts_.back().get();
}

void Toolkit::ReleaseFont(NativeHandle font) {
  // Gadgets keep showing their text in the system font, as a real desktop does.
  for (const auto& g : gadgets_) {
    if (g->font == font) g->font = nullptr;
  }
  std::erase_if(fonts_, [font](const auto& f) { return f.get() == font; });
}

NativeHandle Toolkit::LoadImage(std::string_view path) {
  int width = 0, height = 0;
  if (!ReadPngSize(path, width, height)) return nullptr;
  images_.push_back(std::make_unique<Image>(Image{
      std::string(path), width, height, static_cast<double>(width), static_cast<double>(height)}));
  return images_.back().get();
}

NativeHandle Toolkit::LoadThemeIcon(std::string_view name) {
  if (themeIcons_.count(std::string(name)) == 0) return nullptr;
  images_.push_back(std::make_unique<Image>(Image{"theme:" + std::string(name), 16, 16, 16, 16}));
  return images_.back().get();
}

int Toolkit::ImageWidth(NativeHandle image) {
  return AsImage(image)->width;
}
int Toolkit::ImageHeight(NativeHandle image) {
  return AsImage(image)->height;
}

void Toolkit::ResizeImage(NativeHandle image, int width, int height) {
  Image* i = AsImage(image);
  i->width = width;
  i->height = height;
  i->pointWidth = width;
  i->pointHeight = height;
}

void Toolkit::SetImageSize(NativeHandle image, double width, double height) {
  AsImage(image)->pointWidth = width;
  AsImage(image)->pointHeight = height;
}

void Toolkit::ReleaseImage(NativeHandle image) {
  for (const auto& g : gadgets_) {
    if (g->image == image) g->image = nullptr;
    std::replace(g->itemImages.begin(), g->itemImages.end(), AsImage(image),
                 static_cast<Image*>(nullptr));
  }
  for (const auto& m : menus_) ForgetMenuImage(*m, AsImage(image));
  if (status_.image == image) status_.image = nullptr;
  std::erase_if(images_, [image](const auto& i) { return i.get() == image; });
}

// Menus.

NativeHandle Toolkit::CreateMenu(std::int64_t number) {
  menus_.push_back(std::make_unique<Menu>());
  menus_.back()->number = number;
  return menus_.back().get();
}

void Toolkit::AddMenuItem(NativeHandle menu, std::int64_t item, std::string_view text,
                          NativeHandle image) {
  Menu* m = AsMenu(menu);
  MenuItem entry;
  entry.number = item;
  entry.image = AsImage(image);
  SetItemText(entry, text);
  m->items.push_back(std::move(entry));
}

void Toolkit::AddMenuSeparator(NativeHandle menu) {
  MenuItem entry;
  entry.separator = true;
  AsMenu(menu)->items.push_back(std::move(entry));
}

NativeHandle Toolkit::AddSubMenu(NativeHandle menu, std::string_view text, NativeHandle image) {
  MenuItem entry;
  entry.image = AsImage(image);
  SetItemText(entry, text);
  entry.submenu = std::make_unique<Menu>();
  entry.submenu->number = AsMenu(menu)->number;
  Menu* sub = entry.submenu.get();
  AsMenu(menu)->items.push_back(std::move(entry));
  return sub;
}

void Toolkit::SetMenuItemDisabled(NativeHandle menu, std::int64_t item, bool disabled) {
  if (MenuItem* entry = FindItemIn(*AsMenu(menu), item)) entry->disabled = disabled;
}

void Toolkit::SetMenuItemTitle(NativeHandle menu, std::int64_t item, std::string_view text) {
  if (MenuItem* entry = FindItemIn(*AsMenu(menu), item)) SetItemText(*entry, text);
}

void Toolkit::FreeMenu(NativeHandle menu) {
  if (status_.menu == menu) status_.menu = nullptr;
  std::erase_if(menus_, [menu](const auto& m) { return m.get() == menu; });
}

// Status item.

bool Toolkit::CreateStatusItem() {
  status_ = StatusItem{};
  status_.present = true;
  return true;
}

void Toolkit::SetStatusItemImage(NativeHandle image) {
  status_.image = AsImage(image);
}
void Toolkit::SetStatusItemMenu(NativeHandle menu) {
  status_.menu = AsMenu(menu);
}
void Toolkit::RemoveStatusItem() {
  status_ = StatusItem{};
}

// Timers.

void Toolkit::StartTimer(std::int64_t timer, int intervalMs) {
  timers_[timer] = intervalMs;
}
void Toolkit::StopTimer(std::int64_t timer) {
  timers_.erase(timer);
}

}  // namespace headless
