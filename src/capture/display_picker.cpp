#include "capture/display_picker.h"

#include <vector>

#include "capture/display_geometry.h"
#include "capture/modal_wait.h"
#include "platform/command_numbers.h"
#include "platform/key_codes.h"
#include "platform/toolkit.h"

namespace {

// The display the picker stands for: the one under its top-left corner, or, when the corner
// lies on none (dragged past the desktop's edge), the nearest one; -1 without displays.
int PickedDisplayIndex() {
  if (WindowExists(PickerWindow) == 0) return -1;
  const std::vector<DisplayRect> displays = CurrentDisplays();
  const Point corner{WindowX(PickerWindow), WindowY(PickerWindow)};
  const int under = DisplayUnderWindow(displays, corner);
  return under >= 0 ? under : NearestDisplayIndex(displays, corner);
}

void FollowPickerWindow() {
  const std::string title = PickerButtonTitle(PickedDisplayIndex());
  if (GetGadgetText(PickerButton) != title) SetGadgetText(PickerButton, title);
}

void OpenPickerWindow() {
  NewWindow(PickerWindow, 260, 100, 320, 80, "", WindowHidden | WindowCloseButton | WindowCentred);
  SetWindowFloating(PickerWindow, 1);
  NewFont(PickerFont, SystemFontFamily, 12);
  SetGadgetFont(DefaultFont, PickerFont);
  // Wider than a narrow system font needs: with a wider desktop font the display number, the
  // one thing the button must show, would be cut off.
  NewTextGadget(AutoNumber, 0, 10, 320, 25, "Drag this window to the screen to capture.",
                TextCentred);
  NewButtonGadget(PickerButton, 60, 40, 200, 25, PickerButtonTitle(PickedDisplayIndex()));
  AddKeyboardShortcut(PickerWindow, KeyEscape, EscapeItem);
  AddKeyboardShortcut(PickerWindow, KeyReturn, PickerReturnItem);
  // Shows the window in front with the keyboard, for Escape and Return.
  SetActiveGadget(PickerButton);
}

void ClosePickerWindow() {
  RemoveKeyboardShortcut(PickerWindow, KeyEscape);
  RemoveKeyboardShortcut(PickerWindow, KeyReturn);
  ReleaseFont(PickerFont);
  DestroyWindow(PickerWindow);
}

}  // namespace

std::string PickerButtonTitle(int displayIndex) {
  return "Capture Display #" + std::to_string(displayIndex);
}

std::optional<int> PickDisplay() {
  OpenPickerWindow();

  std::optional<int> chosen;
  std::vector<EventRecord> held;
  for (;;) {
    const std::int32_t kind = NextEvent();
    const bool own = EventWindowNumber() == PickerWindow;
    if (own && ((kind == MenuEvent && EventNumber() == EscapeItem) || kind == CloseWindowEvent)) {
      break;
    }
    if (own && ((kind == GadgetEvent && EventNumber() == PickerButton) ||
                (kind == MenuEvent && EventNumber() == PickerReturnItem))) {
      if (const int index = PickedDisplayIndex(); index >= 0) chosen = index;
      break;
    }
    if (own && kind == WindowMovedEvent) {
      FollowPickerWindow();
      continue;
    }
    if (HoldOtherWindowEvent(held, kind, PickerWindow)) break;
  }

  ClosePickerWindow();
  QueueHeldEvents(held);
  return chosen;
}
