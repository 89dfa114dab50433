#pragma once

// The channel on which the session's running copy takes commands from other copies: a local
// socket beside its single-instance lock. A command is one line naming what the menu item of
// the same meaning does, a capture followed by " wait" when the sender waits for its outcome.
// The answer is one line: "ok", "busy" (a capture is already underway) or "error <why>"; a
// waited capture's outcome follows on a second line. Only the socket's own user may send, and
// a sender talks only to a listener of its own user.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::size_t LongestCommand = 256;

// The menu item a command stands for ("capture screen", "capture window", "capture selection",
// "open-folder", "preferences", "about", "quit"); nothing for any other text.
std::optional<std::int64_t> CommandItem(std::string_view command);

struct CommandLineWords {
  std::string command;
  bool wait = false;
};
// A line as sent: the command, and whether the sender waits for its outcome.
CommandLineWords ReadCommandWords(std::string_view line);

enum class Delivery { Delivered, Busy, Refused, NoProgram };

struct SendResult {
  Delivery delivery = Delivery::NoProgram;
  std::string why;      // for Refused
  std::string outcome;  // for a waited capture that was delivered: the outcome's line
};

// Hands `command` to the session's running copy, if there is one; with `wait`, also waits for
// the outcome of the capture it asks for, however long that takes.
SendResult SendCommand(std::string_view command, bool wait);
