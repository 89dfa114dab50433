#include "shortcuts/shortcut_gadget.h"

#include <array>
#include <memory>
#include <set>

#include "platform/key_codes.h"
#include "platform/toolkit.h"
#include "shortcuts/shortcut_code.h"

std::uint32_t MapToShortcut(std::uint32_t modifierFlags, std::uint16_t keyCode,
                            char16_t character) {
  const std::uint32_t m = ShortcutModifiersOf(modifierFlags);
  // A shortcut needs a modifier other than Shift, except on a function key: a plain or shifted
  // key would be taken from every program's typing.
  const bool functionKey = FunctionKeyNumber(FunctionKeyBase + keyCode) != 0;
  if ((m & ~ShortcutShift) == 0 && !functionKey) return 0;
  switch (keyCode) {
    case VirtualBackspace: return 0;
    case VirtualTab: return m + KeyTab;
    case VirtualHome: return m + KeyHome;
    case VirtualEnd: return m + KeyEnd;
    case VirtualPageUp: return m + KeyPageUp;
    case VirtualPageDown: return m + KeyPageDown;
    case VirtualLeft: return m + KeyLeft;
    case VirtualRight: return m + KeyRight;
    case VirtualDown: return m + KeyDown;
    case VirtualUp: return m + KeyUp;
    default: break;
  }
  // Main-row digits by position: Shift must not turn them into symbols.
  for (std::uint32_t digit = 0; digit < VirtualDigits.size(); ++digit) {
    if (VirtualDigits[digit] == keyCode) return m + '0' + digit;
  }
  if (functionKey) return m + FunctionKeyBase + keyCode;
  std::uint32_t key = character;
  if (key >= 'A' && key <= 'Z') key += 32;
  // A key the text cannot show (keypad Enter's character 3, say) would leave a shortcut of
  // modifiers alone, which no hot key or menu can use.
  if (key == 0 || key > 126 || KeyTextOf(key).empty()) return 0;
  return m + key;
}

namespace {

// The numbers of the shortcut fields that exist now.
std::set<std::int64_t> fields;

}  // namespace

std::int64_t FocusedShortcutField() {
  const std::int64_t focused = FocusedGadget();
  return fields.count(focused) != 0 ? focused : -1;
}

LxShortcutGadgetFunctions::LxShortcutGadgetFunctions()
    : GlobalEventHandler(AddKeyHook(&HandleGlobalEvent, this)) {}

LxShortcutGadgetFunctions::~LxShortcutGadgetFunctions() {
  RemoveKeyHook(GlobalEventHandler);
  fields.erase(gadget_);
}

void LxShortcutGadgetFunctions::AttachToGadget(std::int64_t number) {
  gadget_ = number;
  fields.insert(number);
}

void LxShortcutGadgetFunctions::SetGadgetState(std::int64_t state) {
  CurrentShortcut = static_cast<std::uint32_t>(state);
  UpdateContent();
}

void LxShortcutGadgetFunctions::UpdateContent() {
  SetGadgetText(gadget_, ShortcutTextFromCode(CurrentShortcut));
}

int LxShortcutGadgetFunctions::HandleGlobalEvent(const KeyPress& press, void* context) {
  auto* self = static_cast<LxShortcutGadgetFunctions*>(context);
  // Modifier keys alone and key releases pass on, as do presses meant for another gadget.
  if (press.type != KeyEventType::KeyDown) return 0;
  if (self->gadget_ == -1 || FocusedGadget() != self->gadget_) return 0;
  const char16_t character = press.characters.empty() ? 0 : press.characters[0];
  self->SetGadgetState(MapToShortcut(press.modifierFlags, press.keyCode, character));
  return 1;
}

std::int64_t NewShortcutGadget(std::int64_t number, int x, int y, int width, int height,
                               std::uint32_t code) {
  GadgetSpec spec;
  spec.kind = GadgetKind::Shortcut;
  spec.x = x;
  spec.y = y;
  spec.width = width;
  spec.height = height;
  auto behaviour = std::make_unique<LxShortcutGadgetFunctions>();
  LxShortcutGadgetFunctions* functions = behaviour.get();
  const std::int64_t chosen = NewBehaviourGadget(number, spec, std::move(behaviour));
  // On failure the toolkit has already destroyed the behaviour. (Gadget 0 is a number too.)
  if (chosen == 0 && GadgetExists(number) == 0) return 0;
  // Attached only now: making the gadget frees an earlier one of the same number.
  functions->AttachToGadget(chosen);
  SetGadgetState(chosen, code);
  return chosen;
}
