#include "platform/toolkit.h"

#include <memory>
#include <utility>

#include "platform/toolkit_state.h"

using namespace toolkit_core;

namespace {

std::int64_t NewGadget(std::int64_t number, const GadgetSpec& given,
                       std::unique_ptr<LxGadgetFunctions> behaviour) {
  Toolkit& t = T();
  WindowRecord* window = t.windows.Find(t.currentWindow);
  if (N() == nullptr || window == nullptr) return 0;
  if (number != AutoNumber) FreeGadget(number);
  const std::int64_t chosen = t.gadgets.Choose(number);
  GadgetSpec spec = given;
  spec.font = t.defaultFont;
  NativeHandle native = N()->CreateGadget(window->native, chosen, spec);
  if (native == nullptr) return 0;
  GadgetRecord& record = t.gadgets.records[chosen];
  record.native = native;
  record.window = t.currentWindow;
  record.kind = spec.kind;
  record.behaviour = std::move(behaviour);
  return chosen;
}

std::int64_t NewSimpleGadget(std::int64_t number, GadgetKind kind, int x, int y, int width,
                             int height, std::string_view text, std::uint32_t flags = 0,
                             NativeHandle image = nullptr) {
  GadgetSpec spec;
  spec.kind = kind;
  spec.x = x;
  spec.y = y;
  spec.width = width;
  spec.height = height;
  spec.text = std::string(text);
  spec.flags = flags;
  spec.image = image;
  return NewGadget(number, spec, nullptr);
}

}  // namespace

// Gadgets.

std::int64_t NewTextGadget(std::int64_t number, int x, int y, int width, int height,
                           std::string_view text, std::uint32_t flags) {
  return NewSimpleGadget(number, GadgetKind::Text, x, y, width, height, text, flags);
}

std::int64_t NewButtonGadget(std::int64_t number, int x, int y, int width, int height,
                             std::string_view text) {
  return NewSimpleGadget(number, GadgetKind::Button, x, y, width, height, text);
}

std::int64_t NewCheckboxGadget(std::int64_t number, int x, int y, int width, int height,
                               std::string_view text) {
  return NewSimpleGadget(number, GadgetKind::Checkbox, x, y, width, height, text);
}

std::int64_t NewComboBoxGadget(std::int64_t number, int x, int y, int width, int height,
                               std::uint32_t flags) {
  const GadgetKind kind = (flags & ComboEditable) != 0 ? GadgetKind::EditCombo : GadgetKind::PopUp;
  return NewSimpleGadget(number, kind, x, y, width, height, {}, flags);
}

std::int64_t NewImageGadget(std::int64_t number, int x, int y, int width, int height,
                            std::int64_t image) {
  return NewSimpleGadget(number, GadgetKind::Image, x, y, width, height, {}, 0, ImageOf(image));
}

std::int64_t NewBehaviourGadget(std::int64_t number, const GadgetSpec& spec,
                                std::unique_ptr<LxGadgetFunctions> behaviour) {
  return NewGadget(number, spec, std::move(behaviour));
}

int GadgetExists(std::int64_t number) {
  return T().gadgets.Find(number) != nullptr ? 1 : 0;
}

void* GadgetHandle(std::int64_t number) {
  GadgetRecord* g = T().gadgets.Find(number);
  return g == nullptr ? nullptr : g->native;
}

std::int64_t GadgetWindow(std::int64_t number) {
  GadgetRecord* g = T().gadgets.Find(number);
  return g == nullptr ? 0 : g->window;
}

void AddGadgetItem(std::int64_t number, int position, std::string_view text, std::int64_t image) {
  if (GadgetRecord* g = T().gadgets.Find(number)) {
    N()->AddGadgetItem(g->native, position, text, ImageOf(image));
  }
}

void SetGadgetState(std::int64_t number, std::int64_t state) {
  GadgetRecord* g = T().gadgets.Find(number);
  if (g == nullptr) return;
  if (g->behaviour) {
    g->behaviour->SetGadgetState(state);
  } else {
    N()->SetGadgetState(g->native, state);
  }
}

std::int64_t GetGadgetState(std::int64_t number) {
  GadgetRecord* g = T().gadgets.Find(number);
  if (g == nullptr) return 0;
  return g->behaviour ? g->behaviour->GetGadgetState() : N()->GadgetState(g->native);
}

void SetGadgetText(std::int64_t number, std::string_view text) {
  if (GadgetRecord* g = T().gadgets.Find(number)) N()->SetGadgetText(g->native, text);
}

std::string GetGadgetText(std::int64_t number) {
  GadgetRecord* g = T().gadgets.Find(number);
  return g == nullptr ? std::string() : N()->GadgetText(g->native);
}

void SetGadgetItemText(std::int64_t number, int item, std::string_view text) {
  if (GadgetRecord* g = T().gadgets.Find(number)) N()->SetGadgetItemText(g->native, item, text);
}

std::string GetGadgetItemText(std::int64_t number, int item) {
  GadgetRecord* g = T().gadgets.Find(number);
  return g == nullptr ? std::string() : N()->GadgetItemText(g->native, item);
}

int CountGadgetItems(std::int64_t number) {
  GadgetRecord* g = T().gadgets.Find(number);
  return g == nullptr ? 0 : N()->CountGadgetItems(g->native);
}

void DisableGadget(std::int64_t number, int state) {
  if (GadgetRecord* g = T().gadgets.Find(number)) N()->DisableGadget(g->native, state != 0);
}

void GadgetToolTip(std::int64_t number, std::string_view text) {
  if (GadgetRecord* g = T().gadgets.Find(number)) N()->SetGadgetToolTip(g->native, text);
}

void SetGadgetPlaceholder(std::int64_t number, std::string_view text) {
  if (GadgetRecord* g = T().gadgets.Find(number)) N()->SetGadgetPlaceholder(g->native, text);
}

void SetGadgetFont(std::int64_t number, std::int64_t font) {
  NativeHandle* handle = T().fonts.Find(font);
  NativeHandle native = handle == nullptr ? nullptr : *handle;
  if (number == DefaultFont) {
    T().defaultFont = native;
    return;
  }
  if (GadgetRecord* g = T().gadgets.Find(number)) N()->SetGadgetFont(g->native, native);
}

void SetGadgetColor(std::int64_t number, int colorType, std::int64_t rgb) {
  if (GadgetRecord* g = T().gadgets.Find(number)) N()->SetGadgetColor(g->native, colorType, rgb);
}

void FreeGadget(std::int64_t number) {
  Toolkit& t = T();
  if (number == -1) {
    while (!t.gadgets.records.empty()) FreeGadget(t.gadgets.records.begin()->first);
    return;
  }
  auto it = t.gadgets.records.find(number);
  if (it == t.gadgets.records.end()) return;
  // Take the record out first: a behaviour's destructor may call back into the toolkit.
  GadgetRecord record = std::move(it->second);
  t.gadgets.records.erase(it);
  record.behaviour.reset();
  t.native->FreeGadget(record.native);
}
