#pragma once

// Reading a shortcut text for a system-wide hot key: the modifier symbols become the hot-key
// service's modifier word, the rest is a key name that KeyNameMap turns into a virtual key code.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

// One of the program's few process-wide records: key name (exact, case-sensitive) to virtual
// key code. Filled once at start-up, before any hot key is registered.
extern std::map<std::string, std::uint32_t> KeyNameMap;
void FillKeyNameMap();

struct HotkeyKeyName {
  std::uint32_t modifiers = 0;
  std::string keyName;
};

// Modifier symbols may stand anywhere, in any order, and count once; "⎋" and "↩" name Esc and
// Return; every other character joins the key name.
HotkeyKeyName ReadShortcutText(std::string_view text);

// Whether the key name is one of the function keys F1 to F20.
bool IsFunctionKeyName(std::string_view keyName);

// The virtual key code of a key name, if KeyNameMap has it.
std::optional<std::uint32_t> VirtualKeyCodeOf(const std::string& keyName);
