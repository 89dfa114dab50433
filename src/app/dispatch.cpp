#include "app/dispatch.h"

#include "about/about_box.h"
#include "about/web_links.h"
#include "app/capture_report.h"
#include "capture/capture_engine.h"
#include "capture/open_capture_location.h"
#include "menu/menu_icon.h"
#include "platform/command_numbers.h"
#include "platform/command_server.h"
#include "platform/event_record.h"
#include "platform/termination_request.h"
#include "prefs/preferences_window.h"

CommandRequest CommandForMenuItem(std::int64_t item) {
  switch (item) {
    case QuitMenuNumber:
    case ItemQuit: return {Command::Quit};
    case ItemAppPreferences:
    case ItemPreferences: return {Command::OpenPreferences};
    case ItemCaptureEntireScreen: return {Command::CaptureEntireScreen};
    case ItemCaptureWindow: return {Command::CaptureWindow};
    case ItemCaptureSelection: return {Command::CaptureSelection};
    case ItemOpenCaptureLocation: return {Command::OpenCaptureLocation};
    case ItemAbout: return {Command::ShowAboutBox};
    case ItemGiveFeedback: return {Command::OpenFeedbackForm};
    case ItemContactMe: return {Command::OpenContactPage};
    default: return {};  // -3 (application menu About), -1, 0 and any other number
  }
}

CommandRequest CommandForEvent(std::int32_t kind, std::int64_t number, std::int64_t window,
                               std::int64_t subtype) {
  switch (kind) {
    case MenuEvent: {
      CommandRequest request = CommandForMenuItem(number);
      if (window == CommandChannelWindow) request.client = subtype;
      return request;
    }
    case CloseWindowEvent:
      return window == PreferencesWindow ? CommandRequest{Command::ClosePreferences}
                                         : CommandRequest{};
    case GadgetEvent:
      // Gadget numbers 12 to 27 belong to the Preferences window alone.
      if (number >= FirstPreferencesGadget && number <= LastPreferencesGadget) {
        return {Command::HandlePreferencesGadget, number, subtype};
      }
      return {};
    case HotkeyEvent1: return {Command::CaptureEntireScreen};
    case HotkeyEvent2: return {Command::CaptureWindow};
    case HotkeyEvent3: return {Command::CaptureSelection};
    case HotkeyEvent4: return {Command::OpenCaptureLocation};
    case AppearanceChangedEvent: return {Command::ApplyAppearance};
    default: return {};
  }
}

namespace {

bool Capture(std::int8_t kind, std::int64_t client) {
  const CaptureEnd end = RunCapture(kind);
  if (client != 0) AnswerWaitingClient(client, CaptureAnswer(end));
  return !TerminationRequestPending();
}

}  // namespace

bool RunCommand(const CommandRequest& request) {
  // Every command is listed, so that the compiler names one that is not run here.
  switch (request.command) {
    case Command::None: return true;
    case Command::Quit: return false;
    case Command::ApplyAppearance: ApplyAppearance(); return true;
    case Command::CaptureEntireScreen: return Capture(CaptureEntireScreen, request.client);
    case Command::CaptureWindow: return Capture(CaptureWindow, request.client);
    case Command::CaptureSelection: return Capture(CaptureSelection, request.client);
    case Command::OpenCaptureLocation: OpenCaptureLocation(); return true;
    case Command::ShowAboutBox: ShowAboutBox(); return true;
    case Command::OpenFeedbackForm: OpenLink(FeedbackForm()); return true;
    case Command::OpenContactPage: OpenLink(ContactPage()); return true;
    case Command::OpenPreferences: OpenPreferences(); return true;
    case Command::ClosePreferences: ClosePreferences(); return true;
    case Command::HandlePreferencesGadget:
      HandlePreferencesGadget(request.gadget, request.subtype);
      return true;
  }
  return true;
}
