#pragma once

// The running copy's side of the command channel. One descriptor stands for the listening
// socket, every client being read and the clients' deadlines, so that the toolkit's event wait,
// and the wait for the capture tool, can watch them all; serving never blocks. A client has a
// fixed time from its connection to send its whole command, or is dropped.

#include <cstdint>
#include <string>

#include "platform/command_numbers.h"

// The window number the channel's commands travel under (MenuEvent, the command's menu item),
// so that a countdown or picker keeps them for afterwards; the event's subtype names the
// client waiting for a capture's outcome, 0 when none waits.
inline constexpr std::int64_t CommandChannelWindow = 4;

// How long a client has, from its connection, to send its whole command.
inline constexpr int CommandDeadlineMs = 200;

// Listens at `path`, replacing a socket left there by a copy that is gone (the caller holds the
// single-instance lock, so no live copy listens there). False, with the reason, when it cannot.
bool StartCommandServer(const std::string& path, std::string& why);
// Drops every client and removes the socket.
void StopCommandServer();

// Readable while something waits to be served; -1 when not listening.
int CommandServerDescriptor();
// Accepts, reads and answers whatever is ready, drops the clients past their deadline, and
// posts the commands read.
void ServeCommands();

// While a capture is asked for or runs, a capture command is answered "busy".
void MarkCaptureUnderway(bool underway);
bool CaptureUnderway();

// Sends the waiting client `client` its last line and closes its connection.
void AnswerWaitingClient(std::int64_t client, const std::string& line);
