#include "prefs/preferences_layout.h"

#include <cstdint>

#include "menu/image_slots.h"
#include "menu/menu_icon.h"
#include "platform/hotkey_service.h"
#include "platform/toolkit.h"
#include "prefs/preferences_window.h"
#include "shortcuts/shortcut_gadget.h"

namespace {

enum class Kind { Label, PopUp, ImagePopUp, Button, Checkbox, ShortcutField, HelpIcon };

constexpr std::int64_t ShortcutHelpIcon = 35;

struct Place {
  std::int64_t number;
  Kind kind;
  int x, y, width, height;
  const char* text;  // the label's text, or the help icon's tooltip
};

constexpr const char* ClipboardHelp =
    "Selecting this option does not save any screen captures to disk. It also disables the "
    "'File Format', 'Save Location', and the 'Open in Preview after Capture' options. The "
    "resulting screen capture will be accessible from your Clipboard.";
constexpr const char* TimerHelp =
    "This option will show a count down in 1-second units before capturing the entire screen. "
    "Setting it to '0 seconds' will capture the screen immediately.";
constexpr const char* ShadowHelp =
    "This option ensures that all Windows also include shadows when captured.";
constexpr const char* PointerHelp =
    "This option ensures that the mouse pointer is included when capturing the entire screen.";
constexpr const char* ShortcutHelp =
    "Shortcuts with up to four modifier keys are suppprted (e.g., ⌥⌘F and ⇧⌥⌘F are valid). New "
    "shortcuts or changes to existing ones will be applied once you close the 'Preferences' "
    "window.";
constexpr const char* PreviewHelp =
    "This option opens the screen image in the 'Preview' application for futher manipulation. "
    "NOTE: It does not save screen captures to disk.";
constexpr const char* LocationHelp =
    "This option determines where screen captures are stored. By default, all screen captures "
    "are stored in the root of the 'Documents' Folder but you can store screen captures in "
    "another location by clicking on the 'Select...' button.";

constexpr Place Places[] = {
    {AutoNumber, Kind::Label, 20, 34, 80, 25, "File Format"},
    {GadgetFileFormat, Kind::PopUp, 96, 30, 80, 25, ""},
    {AutoNumber, Kind::Label, 20, 74, 100, 25, "Save Location"},
    {GadgetSaveLocation, Kind::PopUp, 110, 70, 110, 25, ""},
    {GadgetSelectFolder, Kind::Button, 260, 70, 60, 25, "Select..."},
    {GadgetSound, Kind::Checkbox, 20, 110, 180, 25, "Play Camera Sound"},
    {GadgetShadow, Kind::Checkbox, 20, 140, 190, 25, "Capture Window Shadow"},
    {GadgetPointer, Kind::Checkbox, 20, 170, 240, 25, "Include Mouse Pointer in Capture"},
    {GadgetClipboard, Kind::Checkbox, 20, 200, 240, 25, "Copy Capture to the Clipboard"},
    {GadgetPreview, Kind::Checkbox, 20, 230, 240, 25, "Open in Preview after Capture"},
    {AutoNumber, Kind::Label, 20, 274, 240, 25, "Capture Timer Delay"},
    {GadgetTimer, Kind::PopUp, 146, 270, 120, 25, ""},
    {GadgetShortcutHint, Kind::Label, 20, 310, 380, 25, "Type a Shortcut into each box."},
    {AutoNumber, Kind::Label, 20, 344, 300, 25, "Capture Entire Screen Shortcut"},
    {FirstShortcutField, Kind::ShortcutField, 210, 340, 100, 25, ""},
    {AutoNumber, Kind::Label, 20, 374, 300, 25, "Capture Window Shortcut"},
    {FirstShortcutField + 1, Kind::ShortcutField, 210, 370, 100, 25, ""},
    {AutoNumber, Kind::Label, 20, 404, 300, 25, "Capture Selection Shortcut"},
    {FirstShortcutField + 2, Kind::ShortcutField, 210, 400, 100, 25, ""},
    {AutoNumber, Kind::Label, 20, 434, 300, 25, "Capture Location Shortcut"},
    {FirstShortcutField + 3, Kind::ShortcutField, 210, 430, 100, 25, ""},
    {AutoNumber, Kind::Label, 20, 474, 300, 25, "Set Menu Bar Icon"},
    {GadgetMenuIcon, Kind::ImagePopUp, 140, 470, 60, 25, ""},
    {GadgetLogin, Kind::Checkbox, 20, 510, 120, 25, "Start at Login"},
    {31, Kind::HelpIcon, 220, 206, 32, 32, ClipboardHelp},
    {32, Kind::HelpIcon, 268, 274, 32, 32, TimerHelp},
    {33, Kind::HelpIcon, 190, 146, 32, 32, ShadowHelp},
    {34, Kind::HelpIcon, 236, 176, 32, 32, PointerHelp},
    {ShortcutHelpIcon, Kind::HelpIcon, 200, 310, 32, 32, ShortcutHelp},
    {36, Kind::HelpIcon, 220, 236, 32, 32, PreviewHelp},
    {37, Kind::HelpIcon, 220, 74, 32, 32, LocationHelp},
};

// Where the desktop lets no program have system-wide keys, the hint over the shortcut fields
// says where keys are set instead, on two lines in place of the hint and its help icon.
constexpr const char* NoShortcutsHint =
    "This desktop lets no program set shortcuts:\nuse its keyboard settings instead.";
bool ShortcutsOffered() {
  const HotkeyService* service = InstalledHotkeyService();
  return service == nullptr || service->Offered();
}

constexpr const char* FormatItems[] = {"PNG", "JPEG", "TIFF", "BMP", "PDF"};
constexpr const char* TimerItems[] = {"0 seconds", "3 seconds", "5 seconds", "10 seconds",
                                      "15 seconds"};
constexpr std::int64_t GreyText = 0x666666;

// The desktop's own question-mark icon where its theme has one, else our drawing.
void LoadHelpIcon(const std::string& resources) {
  if (LoadSymbolImage(HelpIconImage, "help-about", "") != 0) return;
  LoadSymbolImage(HelpIconImage, "dialog-question", resources + "symbol_help.png");
}

void AddGadget(const Place& p) {
  switch (p.kind) {
    case Kind::Label: NewTextGadget(p.number, p.x, p.y, p.width, p.height, p.text); break;
    case Kind::PopUp: NewComboBoxGadget(p.number, p.x, p.y, p.width, p.height, 0); break;
    case Kind::ImagePopUp:
      NewComboBoxGadget(p.number, p.x, p.y, p.width, p.height, ComboWithImages);
      break;
    case Kind::Button: NewButtonGadget(p.number, p.x, p.y, p.width, p.height, p.text); break;
    case Kind::Checkbox: NewCheckboxGadget(p.number, p.x, p.y, p.width, p.height, p.text); break;
    case Kind::ShortcutField:
      NewShortcutGadget(p.number, p.x, p.y, p.width, p.height, 0);
      SetGadgetPlaceholder(p.number, ShortcutPlaceholder);
      break;
    case Kind::HelpIcon:
      NewImageGadget(p.number, p.x, p.y, p.width, p.height, HelpIconImage);
      GadgetToolTip(p.number, p.text);
      break;
  }
}

}  // namespace

void AddPreferencesGadgets(const std::string& resources) {
  LoadHelpIcon(resources);
  const bool shortcuts = ShortcutsOffered();
  for (const Place& place : Places) {
    if (!shortcuts && place.number == ShortcutHelpIcon) continue;
    if (!shortcuts && place.number == GadgetShortcutHint) {
      NewTextGadget(GadgetShortcutHint, place.x, place.y - 8, 300, 38, NoShortcutsHint);
      continue;
    }
    AddGadget(place);
  }
  for (const char* item : FormatItems) AddGadgetItem(GadgetFileFormat, -1, item);
  AddGadgetItem(GadgetSaveLocation, -1, "Choose...");
  for (const char* item : TimerItems) AddGadgetItem(GadgetTimer, -1, item);
  SetGadgetColor(GadgetShortcutHint, ColorFront, GreyText);
  // The designs as the status area shows them now, light or dark.
  const bool dark = IsDarkMode();
  for (std::int64_t design = 0; design < MenuIconCount; ++design) {
    AddGadgetItem(GadgetMenuIcon, -1, "", IconForMenuIcon(design, dark));
  }
}
