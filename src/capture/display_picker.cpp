#include "capture/display_picker.h"

#include <vector>

#include "capture/capture_engine.h"
#include "capture/display_choice.h"
#include "capture/display_geometry.h"
#include "platform/toolkit.h"
#include "shortcuts/shortcut_code.h"

namespace {

void FollowPickerWindow() {
  const std::string title = PickerButtonTitle(PickedDisplayIndex());
  if (GetGadgetText(PickerButton) != title) SetGadgetText(PickerButton, title);
}

void OpenPickerWindow() {
  NewWindow(PickerWindow, 260, 100, 320, 80, "", WindowHidden | WindowCloseButton | WindowCentred);
  SetWindowFloating(PickerWindow, 1);
  NewFont(PickerFont, ".AppleSystemUIFont", 12);
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

// " -D" and the picked display counted from 1, or empty when there is no display to pick.
std::string ChosenDisplayOption() {
  const int index = PickedDisplayIndex();
  return index < 0 ? std::string() : " -D" + std::to_string(index + 1);
}

}  // namespace

int PickedDisplayIndex() {
  if (WindowExists(PickerWindow) == 0) return -1;
  const std::vector<DisplayRect> displays = CurrentDisplays();
  const Point corner{WindowX(PickerWindow), WindowY(PickerWindow)};
  const int under = DisplayUnderWindow(displays, corner);
  return under >= 0 ? under : NearestDisplayIndex(displays, corner);
}

std::string PickerButtonTitle(int displayIndex) {
  return "Capture Display #" + std::to_string(displayIndex);
}

void ShowDisplayPicker() {
  OpenPickerWindow();

  std::vector<EventRecord> held;
  for (;;) {
    const std::int32_t kind = NextEvent();
    const bool own = EventWindowNumber() == PickerWindow;
    if (own && kind == MenuEvent && EventNumber() == EscapeItem) {
      DisplayOption.clear();
      break;
    }
    if (own && kind == CloseWindowEvent) {
      DisplayOption.clear();
      break;
    }
    if (own && ((kind == GadgetEvent && EventNumber() == PickerButton) ||
                (kind == MenuEvent && EventNumber() == PickerReturnItem))) {
      DisplayOption = ChosenDisplayOption();
      break;
    }
    if (own && kind == WindowMovedEvent) {
      FollowPickerWindow();
      continue;
    }
    if (HoldOtherWindowEvent(held, kind, PickerWindow)) {
      DisplayOption.clear();
      break;
    }
  }

  ClosePickerWindow();
  QueueHeldEvents(held);
}
