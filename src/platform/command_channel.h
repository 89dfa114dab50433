#pragma once

// The channel on which the session's running copy takes commands from other copies: a local
// socket beside its single-instance lock. A command is one line naming what the menu item of
// the same meaning does; the answer is one line, "ok" or "error <why>". Only the socket's own
// user may send.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/process_fd.h"

// The menu item a command stands for ("capture screen", "capture window", "capture selection",
// "open-folder", "preferences", "about", "quit"); nothing for any other text.
std::optional<std::int64_t> CommandItem(std::string_view command);

// Listens at `path`, replacing a socket left there by a copy that is gone (the caller holds the
// single-instance lock, so no live copy listens there). Invalid when it cannot listen.
UniqueFd ListenForCommands(const std::string& path);

// Takes one waiting client from the listening socket: reads its command and answers it. The
// command's menu item when it is one from this user; nothing otherwise (the client is told why).
std::optional<std::int64_t> TakeCommand(int listening);

enum class Delivery { Delivered, Refused, NoProgram };

struct SendResult {
  Delivery delivery = Delivery::NoProgram;
  std::string why;  // for Refused
};

// Hands `command` to the session's running copy, if there is one.
SendResult SendCommand(std::string_view command);
