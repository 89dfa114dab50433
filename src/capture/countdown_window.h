#pragma once

// The countdown before a timed entire-screen capture: a plate in the middle of the pointer's
// display shows the seconds left, one step a second, down to 0.

#include <cstdint>

inline constexpr std::int64_t CountdownLabel = 30;
inline constexpr std::int64_t CountdownFont = 10;
inline constexpr int CountdownPlateWidth = 220;
inline constexpr int CountdownPlateHeight = 190;
inline constexpr int CountdownPlateRadius = 12;

// Counts the given number of seconds down; true when the count ran to its end, false when it
// was cancelled (Escape, or a request to quit). Its timer runs only while the count does.
bool RunCountdown(int seconds);
