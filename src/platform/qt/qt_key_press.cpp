#include "platform/qt/qt_key_press.h"

#include <QKeyEvent>

#include "platform/qt/virtual_key_table.h"

namespace {

std::uint32_t ModifierFlagsOf(Qt::KeyboardModifiers modifiers) {
  // Qt on X11 reports the Ctrl key as Control and the Super key as Meta.
  std::uint32_t flags = 0;
  if (modifiers & Qt::ShiftModifier) flags |= ModifierShift;
  if (modifiers & Qt::ControlModifier) flags |= ModifierControl;
  if (modifiers & Qt::AltModifier) flags |= ModifierOption;
  if (modifiers & Qt::MetaModifier) flags |= ModifierCommand;
  return flags;
}

std::uint16_t KeyCodeOf(const QKeyEvent& event) {
  // The X key code names the physical key, so Shift+4 is the "4" key on every layout.
  if (auto code = VirtualKeyForXKeycode(event.nativeScanCode())) return *code;
  const bool keypad = (event.modifiers() & Qt::KeypadModifier) != 0;
  return VirtualKeyForQtKey(event.key(), keypad).value_or(0xFFFF);
}

// What the key gives with Shift applied and Control, Option and Command ignored.
char16_t CharacterOf(const QKeyEvent& event) {
  const bool shift = (event.modifiers() & Qt::ShiftModifier) != 0;
  if (event.nativeVirtualKey() != 0) {
    if (char16_t c = CharacterForKeysym(event.nativeVirtualKey())) return c;
    // Keysyms of other scripts: the text is right as long as no modifier altered it.
    const QString text = event.text();
    if (!text.isEmpty() && text[0].unicode() >= 0x20 && text[0].unicode() != 0x7f) {
      return text[0].unicode();
    }
  }
  return CharacterForQtKey(event.key(), shift);
}

}  // namespace

KeyPress KeyPressFromQt(const QKeyEvent& event, std::int64_t window) {
  KeyPress press;
  press.window = window;
  press.modifierFlags = ModifierFlagsOf(event.modifiers());
  press.keyCode = KeyCodeOf(event);
  if (IsModifierQtKey(event.key())) {
    press.type = KeyEventType::FlagsChanged;
    return press;
  }
  press.type = event.type() == QEvent::KeyRelease ? KeyEventType::KeyUp : KeyEventType::KeyDown;
  press.repeated = event.isAutoRepeat();
  if (const char16_t c = CharacterOf(event)) press.characters = std::u16string(1, c);
  return press;
}
