#pragma once

// The Preferences window (window PreferencesWindow), the one place where the user changes the
// settings. There is no OK or Cancel: every change but the shortcuts is stored the moment its
// gadget reports it; the shortcuts are stored, registered as hot keys and shown in the status
// menu when the window closes.

#include <cstdint>

inline constexpr std::int64_t PreferencesFont = 9;

// Gadgets. Numbers 12 to 27 belong to this window alone.
inline constexpr std::int64_t GadgetSaveLocation = 12;
inline constexpr std::int64_t GadgetShortcutHint = 13;
inline constexpr std::int64_t GadgetFileFormat = 14;
inline constexpr std::int64_t GadgetTimer = 15;
inline constexpr std::int64_t GadgetSound = 16;
inline constexpr std::int64_t GadgetShadow = 17;
inline constexpr std::int64_t GadgetPointer = 18;
inline constexpr std::int64_t GadgetClipboard = 19;
inline constexpr std::int64_t GadgetPreview = 20;
inline constexpr std::int64_t GadgetLogin = 21;
inline constexpr std::int64_t FirstShortcutField = 22;  // 22 to 25: ShortKey1 to ShortKey4
inline constexpr std::int64_t GadgetMenuIcon = 26;
inline constexpr std::int64_t GadgetSelectFolder = 27;
inline constexpr std::int64_t FirstHelpIcon = 31;  // 31 to 37
inline constexpr std::int64_t LastHelpIcon = 37;
inline constexpr std::int64_t FirstPreferencesGadget = 12;
inline constexpr std::int64_t LastPreferencesGadget = 27;

// The image slot of the help icons' picture, made at each opening.
inline constexpr std::int64_t HelpIconImage = 14;

// Builds the window from the stored settings, or brings it to the front when it is open.
void OpenPreferences();

// The reaction to a gadget event of the window (`type` SubtypeClick or SubtypeChange).
void HandlePreferencesGadget(std::int64_t gadget, std::int64_t type);

// Stores the four shortcut fields, registers them as hot keys, shows them in the status menu,
// and closes the window.
void ClosePreferences();
