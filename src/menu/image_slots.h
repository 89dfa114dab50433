#pragma once

#include <cstdint>

// Toolkit image numbers the status menu, the Preferences icon popup and the About box share.
// Slots 0-3 hold the light menu-bar icons of MenuIcon 0-3, slots 4-7 their dark variants.
inline constexpr std::int64_t FirstLightIconImage = 0;
inline constexpr std::int64_t FirstDarkIconImage = 4;
inline constexpr std::int64_t MenuIconCount = 4;
inline constexpr std::int64_t ApplicationIconImage = 8;

// The pictures beside the status-menu items.
inline constexpr std::int64_t DisplaySymbolImage = 9;
inline constexpr std::int64_t WindowSymbolImage = 10;
inline constexpr std::int64_t ScissorsSymbolImage = 11;
inline constexpr std::int64_t FolderSymbolImage = 12;
inline constexpr std::int64_t BlankSymbolImage = 13;
