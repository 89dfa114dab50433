#include <cstdio>
#include <cstdlib>

#include "platform/command_numbers.h"
#include "platform/headless/headless_menu_items.h"
#include "platform/headless/headless_toolkit.h"
#include "platform/termination_request.h"
#include "platform/utf.h"

// The system events a test pushes, handled one per wait of the loop as a real desktop would.

namespace headless {

// System events.

void Toolkit::PushSystemEvent(std::function<void()> event) {
  pending_.push_back(std::move(event));
}

void Toolkit::ClickGadget(std::int64_t gadget) {
  PushSystemEvent([this, gadget] {
    Gadget* g = GadgetByNumber(gadget);
    if (g == nullptr || g->disabled) return;
    switch (g->kind) {
      case GadgetKind::Checkbox:
        // The box toggles before its click is reported.
        g->state = g->state == 0 ? 1 : 0;
        PostToolkitEvent(GadgetEvent, g->number, g->window->number, SubtypeClick);
        break;
      case GadgetKind::Button:
        PostToolkitEvent(GadgetEvent, g->number, g->window->number, SubtypeClick);
        break;
      case GadgetKind::Image:
        PostToolkitEvent(GadgetEvent, g->number, g->window->number, SubtypeClick);
        break;
      default: break;
    }
  });
}

void Toolkit::SelectGadgetItem(std::int64_t gadget, int index) {
  PushSystemEvent([this, gadget, index] {
    Gadget* g = GadgetByNumber(gadget);
    if (g == nullptr || g->disabled) return;
    if (index < 0 || index >= static_cast<int>(g->items.size())) return;
    if (g->kind == GadgetKind::PopUp) {
      g->state = index;
    } else if (g->kind == GadgetKind::EditCombo) {
      g->state = index;
      g->text = g->items[static_cast<std::size_t>(index)];
    } else {
      return;
    }
    // Choosing the item already selected is reported too.
    PostToolkitEvent(GadgetEvent, g->number, g->window->number, SubtypeChange);
  });
}

void Toolkit::TypeInGadget(std::int64_t gadget, const std::string& text) {
  PushSystemEvent([this, gadget, text] {
    Gadget* g = GadgetByNumber(gadget);
    if (g == nullptr || g->disabled || g->kind != GadgetKind::EditCombo) return;
    g->text += text;
    PostToolkitEvent(GadgetEvent, g->number, g->window->number, SubtypeChange);
  });
}

void Toolkit::FocusGadgetByUser(std::int64_t gadget) {
  PushSystemEvent([this, gadget] {
    Gadget* g = GadgetByNumber(gadget);
    if (g == nullptr) return;
    Gadget* previous = g->window->focused;
    active_ = g->window;
    g->window->focused = g;
    if (previous != nullptr && previous != g && previous->kind == GadgetKind::EditCombo) {
      PostToolkitEvent(GadgetEvent, previous->number, previous->window->number, SubtypeEditEnd);
    }
    if (g->kind == GadgetKind::EditCombo && previous != g) {
      PostToolkitEvent(GadgetEvent, g->number, g->window->number, SubtypeFocus);
    }
  });
}

void Toolkit::PressKey(const KeyPress& press) {
  PushSystemEvent([this, press] {
    KeyPress routed = press;
    if (routed.window < 0 && active_ != nullptr) routed.window = active_->number;
    if (DispatchKeyPress(routed)) return;
    // Unconsumed typing goes to the focused editable field.
    Window* window = WindowByNumber(routed.window);
    if (routed.type != KeyEventType::KeyDown || window == nullptr || window->focused == nullptr)
      return;
    Gadget* g = window->focused;
    if (g->kind == GadgetKind::EditCombo && (routed.modifierFlags & ModifierCommand) == 0) {
      g->text += Utf16ToUtf8(routed.characters);
      PostToolkitEvent(GadgetEvent, g->number, window->number, SubtypeChange);
    }
  });
}

void Toolkit::PressCloseButton(std::int64_t window) {
  PushSystemEvent([this, window] {
    Window* w = WindowByNumber(window);
    // The window stays open: the application decides.
    if (w != nullptr && (w->flags & WindowCloseButton) != 0) {
      PostToolkitEvent(CloseWindowEvent, w->number, w->number, 0);
    }
  });
}

void Toolkit::ChooseMenuItem(std::int64_t menu, std::int64_t item) {
  PushSystemEvent([this, menu, item] {
    for (const auto& m : menus_) {
      if (m->number != menu) continue;
      MenuItem* entry = FindItemIn(*m, item);
      if (entry != nullptr && !entry->disabled) PostToolkitEvent(MenuEvent, item, 0, 0);
      return;
    }
  });
}

void Toolkit::DragWindow(std::int64_t window, int x, int y) {
  PushSystemEvent([this, window, x, y] {
    if (Window* w = WindowByNumber(window)) {
      w->frame.x = x;
      w->frame.y = y;
      PostToolkitEvent(WindowMovedEvent, window, window, 0);
    }
  });
}

void Toolkit::TickTimer(std::int64_t timer) {
  PushSystemEvent([this, timer] {
    if (timers_.count(timer) != 0) TimerFired(timer);
  });
}

void Toolkit::ChangeAppearance(bool dark) {
  PushSystemEvent([this, dark] {
    if (dark_ == dark) return;
    dark_ = dark;
    if (observingAppearance_) QueueEvent(AppearanceChangedEvent, 0, 0, 0, PostCustom);
  });
}

void Toolkit::HandleOne() {
  std::function<void()> event = std::move(pending_.front());
  pending_.pop_front();
  event();
}

void Toolkit::HandlePendingEvents() {
  while (!pending_.empty()) HandleOne();
}

bool Toolkit::ProcessSystemEvent(int timeoutMs) {
  if (TakeTerminationRequest()) return true;
  if (!pending_.empty()) {
    HandleOne();
    return true;
  }
  if (timeoutMs >= 0) return false;
  // Nothing will ever arrive: the test scripted less than the code under test waits for.
  std::fputs("headless desktop: the program waits for input that was never pushed\n", stderr);
  std::abort();
}

}  // namespace headless
