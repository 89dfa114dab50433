#pragma once

// The numbers the program's commands travel under through the event queue: menu items, the
// application's own event kinds, and the windows every subsystem must tell apart. They live
// below every subsystem so that any of them can post or recognise a command without reaching
// up into the application.

#include <cstdint>

// Status-menu items, carried by MenuEvent.
inline constexpr std::int64_t ItemCaptureEntireScreen = 1;
inline constexpr std::int64_t ItemCaptureWindow = 2;
inline constexpr std::int64_t ItemCaptureSelection = 3;
inline constexpr std::int64_t ItemPreferences = 4;
inline constexpr std::int64_t ItemOpenCaptureLocation = 5;
inline constexpr std::int64_t ItemAbout = 6;
inline constexpr std::int64_t ItemGiveFeedback = 7;
inline constexpr std::int64_t ItemContactMe = 8;
inline constexpr std::int64_t ItemQuit = 9;

// The application menu's commands. A request from the system to end the program (SIGTERM,
// the session ending) arrives as its Quit.
inline constexpr std::int64_t ItemAppPreferences = -2;
inline constexpr std::int64_t ItemAppAbout = -3;
inline constexpr std::int64_t QuitMenuNumber = -4;

// The application's own event kinds.
inline constexpr std::int32_t HotkeyEvent1 = 0x10001;
inline constexpr std::int32_t HotkeyEvent2 = 0x10002;
inline constexpr std::int32_t HotkeyEvent3 = 0x10003;
inline constexpr std::int32_t HotkeyEvent4 = 0x10004;
// Posted (flags PostCustom, no object or window) when the desktop turns light or dark.
inline constexpr std::int32_t AppearanceChangedEvent = 0x1012C;
inline constexpr std::int32_t CountdownFinishedEvent = 0x1012D;

// Windows.
inline constexpr std::int64_t StatusMenuHostWindow = 0;
inline constexpr std::int64_t PreferencesWindow = 1;
inline constexpr std::int64_t CountdownWindow = 2;
inline constexpr std::int64_t PickerWindow = 3;
