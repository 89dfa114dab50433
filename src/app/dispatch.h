#pragma once

#include <cstdint>

// What the loop does for one event. Kept apart from running it so that the whole table of
// events and numbers can be checked without running the commands.
enum class Command {
  None,
  Quit,
  CaptureEntireScreen,
  CaptureWindow,
  CaptureSelection,
  OpenPreferences,
  OpenCaptureLocation,
  ShowAboutBox,
  OpenFeedbackForm,
  OpenContactPage,
  ClosePreferences,
  HandlePreferencesGadget,
  ApplyAppearance,
};

struct CommandRequest {
  Command command = Command::None;
  std::int64_t gadget = 0;
  std::int64_t subtype = 0;
  // For a capture asked for on the command channel: the client waiting for its outcome.
  std::int64_t client = 0;
};

CommandRequest CommandForEvent(std::int32_t kind, std::int64_t number, std::int64_t window,
                               std::int64_t subtype);
CommandRequest CommandForMenuItem(std::int64_t item);

// Runs the command to its end; false for Quit, and after a capture during which a quit was
// asked for (the captures still queued are dropped).
bool RunCommand(const CommandRequest& request);
