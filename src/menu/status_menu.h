#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The status menu, toolkit menu 0, hosted by the hidden window StatusMenuHostWindow.
inline constexpr std::int64_t StatusMenu = 0;

// Puts the status item in the status area with the MenuIcon design and attaches the menu of
// capture commands to it. The hot keys are registered before: each item shows its shortcut.
void BuildStatusMenu();

// The text of item 1 before its hint: plain, or naming the countdown when seconds is not 0.
std::string EntireScreenItemTitle(int timerSeconds);

// Takes a capture item's (1, 2, 3 or 5) new shortcut text: keeps its hint and sets the item's
// text, so the item's key equivalent follows the hot key.
void SetCaptureItemShortcut(std::int64_t item, std::string_view shortcutText);

// Sets item 1's text for a countdown of timerSeconds, keeping its hint.
void SetEntireScreenItemTimer(int timerSeconds);

// Item 5 opens the capture folder, which is pointless while captures go to the clipboard or
// to the viewer only: it is disabled while ClipboardOn or PreviewOn is set.
void ApplyLocationItemRule();
