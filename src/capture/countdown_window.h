#pragma once

// The countdown before a timed entire-screen capture: a plate in the middle of the pointer's
// display shows the seconds left, one step a second, down to 0. RunCountdown is declared in
// capture/display_choice.h.

#include <cstdint>
#include <map>
#include <string>

inline constexpr std::int64_t CountdownWindow = 2;
inline constexpr std::int64_t CountdownLabel = 30;
inline constexpr std::int64_t CountdownFont = 10;
inline constexpr int CountdownPlateWidth = 220;
inline constexpr int CountdownPlateHeight = 190;
inline constexpr int CountdownPlateRadius = 12;

// The number the next tick shows; it passes below 0 (to -1) on the tick that ends the count.
extern std::int8_t CountdownCounter;
// Whether Escape ended the latest countdown.
extern bool CountdownCancelled;
// Running timers by key; the countdown's is under "1".
extern std::map<std::string, std::int64_t> TimerTable;

// The countdown timer's tick: shows the counter, counts it down, and after showing 0 ends the
// count and stops itself.
void CountdownTick(std::int64_t timer, void* context);
// Stops and forgets the countdown timer, if one runs.
void RemoveCountdownTimer();
