#pragma once

// The numbered toolkit the application is written against: windows, gadgets, menus, fonts and
// images are small integers of the application's choosing, everything that happens arrives
// through one event queue. An operation on a number that has no object does nothing and
// returns 0 or an empty text.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/event_record.h"
#include "platform/key_press.h"

inline constexpr std::int64_t AutoNumber = -1;
// The family name that stands for the desktop's own user-interface font; each realisation
// maps it to its desktop's choice.
inline constexpr std::string_view SystemFontFamily = "system-ui";
inline constexpr std::int64_t DefaultFont = -1;
inline constexpr int IgnoreCoordinate = -65535;

// NewWindow flags.
inline constexpr std::uint32_t WindowHidden = 1;
inline constexpr std::uint32_t WindowCloseButton = 4;
inline constexpr std::uint32_t WindowCentred = 64;
inline constexpr std::uint32_t WindowBorderless = 128;

// NewTextGadget flags.
inline constexpr std::uint32_t TextCentred = 1;

// NewComboBoxGadget flags.
inline constexpr std::uint32_t ComboEditable = 1;
inline constexpr std::uint32_t ComboWithImages = 8;

// SetGadgetColor colour types.
inline constexpr int ColorFront = 1;

// Events.
void QueueEvent(std::int32_t kind, std::int64_t object, std::int64_t window, std::int64_t type,
                std::uint32_t flags, void* data = nullptr, DataReleaseFunction release = nullptr);
// Blocks until an event is queued or, with a time-out in milliseconds, until it passes (0).
// Returns the kind of the event made current, or -1 when a system event queued nothing.
std::int32_t NextEvent(int timeoutMs = -1);
std::int64_t EventNumber();
std::int64_t EventWindowNumber();
std::int64_t EventSubtype();
void* EventData();

// Key hooks see every key press before anything else; any non-zero answer consumes it.
using KeyHookFunction = int (*)(const KeyPress& press, void* context);
std::int64_t AddKeyHook(KeyHookFunction hook, void* context);
void RemoveKeyHook(std::int64_t handle);

// Window keyboard shortcuts: a key press in the window that matches `shortcut` posts
// MenuEvent with `item`.
void AddKeyboardShortcut(std::int64_t window, std::uint32_t shortcut, std::int64_t item);
void RemoveKeyboardShortcut(std::int64_t window, std::uint32_t shortcut);

// Windows.
std::int64_t NewWindow(std::int64_t number, int x, int y, int width, int height,
                       std::string_view title, std::uint32_t flags);
void DestroyWindow(std::int64_t number);
int WindowExists(std::int64_t number);
void* WindowObject(std::int64_t number);
void SetWindowFloating(std::int64_t number, int on);
int WindowX(std::int64_t number);
int WindowY(std::int64_t number);
int WindowContentWidth(std::int64_t number);
int WindowContentHeight(std::int64_t number);
void MoveWindow(std::int64_t number, int x, int y, int width, int height);
void SetWindowTitle(std::int64_t number, std::string_view title);
std::string GetWindowTitle(std::int64_t number);
// Draws the window as a plate of one colour (0xBBGGRR) with rounded corners instead of the
// desktop's own window background.
void SetWindowBackground(std::int64_t number, std::int64_t rgb, int cornerRadius);
// The opacity of the whole window, gadgets included, from 0 to 1. A desktop that cannot blend
// windows shows it opaque.
void SetWindowOpacity(std::int64_t number, double opacity);
// The window that has the keyboard focus, or -1.
std::int64_t ActiveWindow();
// The gadget that has the keyboard focus in the active window, or -1.
std::int64_t FocusedGadget();
void SetActiveGadget(std::int64_t gadget);

// Displays, in points, y downwards; the first is the main display.
struct DisplayRect {
  int x = 0, y = 0, width = 0, height = 0;
};
struct Point {
  int x = 0, y = 0;
};
int DisplayCount();
DisplayRect DisplayGeometry(int index);
Point PointerLocation();
double MainDisplayScale();

// Gadgets, created in the current window (the one most recently opened).
std::int64_t NewTextGadget(std::int64_t number, int x, int y, int width, int height,
                           std::string_view text, std::uint32_t flags = 0);
std::int64_t NewButtonGadget(std::int64_t number, int x, int y, int width, int height,
                             std::string_view text);
std::int64_t NewCheckboxGadget(std::int64_t number, int x, int y, int width, int height,
                               std::string_view text);
std::int64_t NewComboBoxGadget(std::int64_t number, int x, int y, int width, int height,
                               std::uint32_t flags);
std::int64_t NewImageGadget(std::int64_t number, int x, int y, int width, int height,
                            std::int64_t image);
int GadgetExists(std::int64_t number);
void* GadgetHandle(std::int64_t number);
std::int64_t GadgetWindow(std::int64_t number);
void AddGadgetItem(std::int64_t number, int position, std::string_view text,
                   std::int64_t image = -1);
void SetGadgetState(std::int64_t number, std::int64_t state);
std::int64_t GetGadgetState(std::int64_t number);
void SetGadgetText(std::int64_t number, std::string_view text);
std::string GetGadgetText(std::int64_t number);
void SetGadgetItemText(std::int64_t number, int item, std::string_view text);
std::string GetGadgetItemText(std::int64_t number, int item);
int CountGadgetItems(std::int64_t number);
void DisableGadget(std::int64_t number, int state);
void GadgetToolTip(std::int64_t number, std::string_view text);
// The hint a text field (a shortcut field, an editable combo box) shows while it is empty.
void SetGadgetPlaceholder(std::int64_t number, std::string_view text);
void SetGadgetFont(std::int64_t number, std::int64_t font);
void SetGadgetColor(std::int64_t number, int colorType, std::int64_t rgb);
void FreeGadget(std::int64_t number);

// Fonts.
std::int64_t NewFont(std::int64_t number, std::string_view family, double size);
void* FontHandle(std::int64_t number);
void ReleaseFont(std::int64_t number);

// Images.
std::int64_t LoadImage(std::int64_t number, std::string_view path);
// Loads the icon the desktop's icon theme has under `themeName` (a freedesktop icon name) at
// the size of menu symbols, or, when the theme lacks it, the file at `fallbackPath`.
std::int64_t LoadSymbolImage(std::int64_t number, std::string_view themeName,
                             std::string_view fallbackPath);
int ImageExists(std::int64_t number);
void* ImageHandle(std::int64_t number);
int ImageWidth(std::int64_t number);
int ImageHeight(std::int64_t number);
void ResizeImage(std::int64_t number, int width, int height);
void SetImageSize(std::int64_t number, double width, double height);
void FreeImage(std::int64_t number);

// Menus. Item texts may carry a shortcut hint after a TAB ("Quit\tCmd+Q").
std::int64_t NewPopupMenu(std::int64_t number);
int MenuExists(std::int64_t number);
void AddMenuItem(std::int64_t menu, std::int64_t item, std::string_view text,
                 std::int64_t image = -1);
void AddMenuSeparator(std::int64_t menu);
void OpenSubMenu(std::int64_t menu, std::string_view text, std::int64_t image = -1);
void CloseSubMenu(std::int64_t menu);
void SetMenuItemDisabled(std::int64_t menu, std::int64_t item, int state);
void SetMenuItemTitle(std::int64_t menu, std::int64_t item, std::string_view text);
void FreeMenu(std::int64_t number);

// The status item: one icon in the system's status area that opens a toolkit menu.
int CreateStatusItem();
void SetStatusItemImage(std::int64_t image);
void SetStatusItemMenu(std::int64_t menu);
void RemoveStatusItem();

// Timers post nothing by themselves: the callback runs on the main thread inside NextEvent.
using TimerFunction = void (*)(std::int64_t timer, void* context);
std::int64_t AddTimer(int intervalMs, TimerFunction callback, void* context);
void RemoveTimer(std::int64_t timer);

// Appearance: whether the desktop is in its dark appearance now.
int IsDarkAppearance();
