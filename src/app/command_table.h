#pragma once

#include <cstdint>

#include "platform/host.h"
#include "platform/termination_request.h"

// Numbers carried by MenuEvent: the status-menu items and the application menu's commands.
// The application menu's Quit, or a request from the system.
inline constexpr std::int64_t ItemQuitRequest = QuitMenuNumber;
inline constexpr std::int64_t ItemAppAbout = -3;
inline constexpr std::int64_t ItemAppPreferences = -2;
inline constexpr std::int64_t ItemCaptureEntireScreen = 1;
inline constexpr std::int64_t ItemCaptureWindow = 2;
inline constexpr std::int64_t ItemCaptureSelection = 3;
inline constexpr std::int64_t ItemPreferences = 4;
inline constexpr std::int64_t ItemOpenCaptureLocation = 5;
inline constexpr std::int64_t ItemAbout = 6;
inline constexpr std::int64_t ItemGiveFeedback = 7;
inline constexpr std::int64_t ItemContactMe = 8;
inline constexpr std::int64_t ItemQuit = 9;

// The application's own event kinds.
inline constexpr std::int32_t HotkeyEvent1 = 0x10001;
inline constexpr std::int32_t HotkeyEvent2 = 0x10002;
inline constexpr std::int32_t HotkeyEvent3 = 0x10003;
inline constexpr std::int32_t HotkeyEvent4 = 0x10004;
inline constexpr std::int32_t CountdownFinishedEvent = 0x1012D;

// Windows and gadgets of the Preferences window.
inline constexpr std::int64_t PreferencesWindow = 1;
inline constexpr std::int64_t FirstPreferencesGadget = 12;
inline constexpr std::int64_t LastPreferencesGadget = 27;
