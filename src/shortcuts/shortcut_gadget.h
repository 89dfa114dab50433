#pragma once

// The shortcut entry field: a one-line field that records a key combination instead of text.
// While it has the focus, every key press becomes its shortcut code (its state) and the field
// shows that code's shortcut text; Backspace and keys it cannot express clear it. Setting the
// text leaves the state alone; setting the state rewrites the text. The field posts no events.

#include <cstdint>

#include "platform/gadget_behaviour.h"
#include "platform/key_press.h"

// What an empty field shows; the Preferences window sets it on each field.
inline constexpr const char* ShortcutPlaceholder = "add shortcut";

// The shortcut code of a key press: modifier flags, virtual key code and the first character
// the key gives without modifiers (Shift applied), 0 for none. 0 means cleared.
std::uint32_t MapToShortcut(std::uint32_t modifierFlags, std::uint16_t keyCode, char16_t character);

// Creates the field in the current window showing `code`; returns its number (the chosen one
// for AutoNumber), or 0 when there is no current window.
std::int64_t NewShortcutGadget(std::int64_t number, int x, int y, int width, int height,
                               std::uint32_t code);

// The shortcut field that has the keyboard focus now, or -1.
std::int64_t FocusedShortcutField();

class LxShortcutGadgetFunctions final : public LxGadgetFunctions {
 public:
  LxShortcutGadgetFunctions();
  ~LxShortcutGadgetFunctions() override;
  LxShortcutGadgetFunctions(const LxShortcutGadgetFunctions&) = delete;
  LxShortcutGadgetFunctions& operator=(const LxShortcutGadgetFunctions&) = delete;

  // The number is known only once the toolkit has made the gadget.
  void AttachToGadget(std::int64_t number);
  void SetGadgetState(std::int64_t state) override;
  std::int64_t GetGadgetState() override { return CurrentShortcut; }

 private:
  static int HandleGlobalEvent(const KeyPress& press, void* context);
  void UpdateContent();

  std::int64_t gadget_ = -1;
  std::uint32_t CurrentShortcut = 0;
  std::int64_t GlobalEventHandler = 0;
};
