#include "platform/command_channel.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/command_numbers.h"
#include "platform/process_fd.h"
#include "platform/single_instance.h"

namespace {

struct CommandWord {
  std::string_view command;
  std::int64_t item;
};

constexpr CommandWord Commands[] = {
    {"capture screen", ItemCaptureEntireScreen},
    {"capture window", ItemCaptureWindow},
    {"capture selection", ItemCaptureSelection},
    {"open-folder", ItemOpenCaptureLocation},
    {"preferences", ItemAppPreferences},
    {"about", ItemAbout},
    {"quit", QuitMenuNumber},
};

constexpr std::string_view WaitWord = " wait";
// The running copy answers at once; one that does not is stopped or hung.
constexpr int AnswerTimeoutMs = 5000;

using Clock = std::chrono::steady_clock;

// Reads up to a line feed, until `deadline` (none: as long as it takes); the line without its
// line feed, nothing when the connection or the time ended first.
std::optional<std::string> ReadLine(int fd, std::optional<Clock::time_point> deadline) {
  std::string line;
  char c = 0;
  while (line.size() < LongestCommand * 4) {
    int timeout = -1;
    if (deadline) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - Clock::now());
      if (left.count() <= 0) return std::nullopt;
      timeout = static_cast<int>(left.count());
    }
    pollfd ready{fd, POLLIN, 0};
    const int polled = poll(&ready, 1, timeout);
    if (polled < 0 && errno == EINTR) continue;
    if (polled <= 0) return std::nullopt;
    const ssize_t got = read(fd, &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return std::nullopt;
    if (c == '\n') return line;
    line += c;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::int64_t> CommandItem(std::string_view command) {
  for (const CommandWord& word : Commands) {
    if (word.command == command) return word.item;
  }
  return std::nullopt;
}

CommandLineWords ReadCommandWords(std::string_view line) {
  if (line.starts_with("capture ") && line.ends_with(WaitWord)) {
    return {std::string(line.substr(0, line.size() - WaitWord.size())), true};
  }
  return {std::string(line), false};
}

SendResult SendCommand(std::string_view command, bool wait) {
  const std::optional<std::string> path = CommandSocketPath();
  // Without a folder of our own no copy of ours can listen.
  if (!path) return {Delivery::NoProgram, {}, {}};
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path->c_str(), path->size() + 1);
  UniqueFd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!socket.Valid()) return {Delivery::Refused, std::strerror(errno), {}};
  if (connect(socket.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    if (errno == EACCES || errno == EPERM) {
      return {Delivery::Refused, "the socket " + *path + " belongs to another user", {}};
    }
    return {Delivery::NoProgram, {}, {}};  // none listens there (a copy that is gone left it)
  }
  // Nothing goes to a listener of another user, whatever the folder let it do.
  ucred peer{};
  socklen_t size = sizeof peer;
  if (getsockopt(socket.Get(), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 ||
      peer.uid != getuid()) {
    return {
        Delivery::Refused, "the program listening at " + *path + " belongs to another user", {}};
  }
  std::string line(command);
  if (wait && command.starts_with("capture ")) line += WaitWord;
  line += "\n";
  if (send(socket.Get(), line.data(), line.size(), MSG_NOSIGNAL) !=
      static_cast<ssize_t>(line.size())) {
    return {Delivery::Refused, "the running program did not take the command", {}};
  }
  const std::optional<std::string> answer =
      ReadLine(socket.Get(), Clock::now() + std::chrono::milliseconds(AnswerTimeoutMs));
  if (!answer) return {Delivery::Refused, "the running program did not answer", {}};
  if (*answer == "busy") return {Delivery::Busy, {}, {}};
  if (answer->starts_with("error ")) return {Delivery::Refused, answer->substr(6), {}};
  if (!wait || !command.starts_with("capture ")) return {Delivery::Delivered, {}, {}};
  const std::optional<std::string> outcome = ReadLine(socket.Get(), std::nullopt);
  if (!outcome) {
    return {Delivery::Refused, "the running program ended before the capture did", {}};
  }
  return {Delivery::Delivered, {}, *outcome};
}
