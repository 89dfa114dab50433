#pragma once

#include <cstdint>

// Event kinds the toolkit posts; the application posts its own from 0x10000 up.
inline constexpr std::int32_t MenuEvent = 1;
inline constexpr std::int32_t CloseWindowEvent = 2;
inline constexpr std::int32_t GadgetEvent = 3;
inline constexpr std::int32_t WindowMovedEvent = 6;
inline constexpr std::int32_t FirstCustomEvent = 0x10000;

// Posting flags.
inline constexpr std::uint32_t PostWhileSuspended = 1;
inline constexpr std::uint32_t PostNoCoalesce = 2;
inline constexpr std::uint32_t PostWake = 4;
inline constexpr std::uint32_t PostCustom = PostWhileSuspended | PostNoCoalesce | PostWake;

// Gadget event types.
inline constexpr std::int64_t SubtypeClick = 0;
inline constexpr std::int64_t SubtypeFocus = 256;
inline constexpr std::int64_t SubtypeEditEnd = 512;
inline constexpr std::int64_t SubtypeChange = 768;

// Window value of events that concern no window.
inline constexpr std::int64_t ApplicationMenuWindow = -1;
inline constexpr std::int64_t HotkeyWindow = -65535;

using DataReleaseFunction = void (*)(void* data);

struct EventRecord {
  std::int32_t Event = 0;
  std::uint32_t Flags = 0;
  std::int64_t Object = 0;
  std::int64_t Window = 0;
  std::int64_t Type = -1;
  void* Data = nullptr;
  DataReleaseFunction DataRelease = nullptr;
};
