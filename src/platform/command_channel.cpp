#include "platform/command_channel.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/command_numbers.h"
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

constexpr std::size_t LongestLine = 256;
// A client gets this long to send its line, the sender as long for the answer.
constexpr int ReadTimeoutMs = 200;
constexpr int AnswerTimeoutMs = 3000;

bool Address(const std::string& path, sockaddr_un& address) {
  address = {};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

// Reads up to a line feed, for at most `timeoutMs`; what came without the line feed.
std::string ReadLine(int fd, int timeoutMs) {
  std::string line;
  char c = 0;
  while (line.size() < LongestLine) {
    pollfd ready{fd, POLLIN, 0};
    if (poll(&ready, 1, timeoutMs) <= 0) break;
    const ssize_t got = read(fd, &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || c == '\n') break;
    line += c;
  }
  return line;
}

void Answer(int fd, const std::string& line) {
  const std::string text = line + "\n";
  [[maybe_unused]] const ssize_t written = send(fd, text.data(), text.size(), MSG_NOSIGNAL);
}

}  // namespace

std::optional<std::int64_t> CommandItem(std::string_view command) {
  for (const CommandWord& word : Commands) {
    if (word.command == command) return word.item;
  }
  return std::nullopt;
}

UniqueFd ListenForCommands(const std::string& path) {
  sockaddr_un address;
  if (!Address(path, address)) return {};
  UniqueFd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!socket.Valid()) return {};
  unlink(path.c_str());
  // Only this user may connect; the folder is this user's alone as well.
  const mode_t mask = umask(0177);
  const bool bound = bind(socket.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  umask(mask);
  if (!bound || listen(socket.Get(), 8) != 0) return {};
  return socket;
}

std::optional<std::int64_t> TakeCommand(int listening) {
  UniqueFd client(accept4(listening, nullptr, nullptr, SOCK_CLOEXEC));
  if (!client.Valid()) return std::nullopt;
  ucred peer{};
  socklen_t size = sizeof peer;
  if (getsockopt(client.Get(), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 ||
      peer.uid != getuid()) {
    Answer(client.Get(), "error the running program belongs to another user");
    return std::nullopt;
  }
  const std::string command = ReadLine(client.Get(), ReadTimeoutMs);
  const std::optional<std::int64_t> item = CommandItem(command);
  Answer(client.Get(), item ? "ok" : "error unknown command \"" + command + "\"");
  return item;
}

SendResult SendCommand(std::string_view command) {
  for (const std::string& path : CommandSocketCandidates()) {
    sockaddr_un address;
    if (!Address(path, address)) continue;
    UniqueFd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!socket.Valid()) break;
    if (connect(socket.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      // Not ours to reach: the socket of another user.
      if (errno == EACCES || errno == EPERM) {
        return {Delivery::Refused, "the running program belongs to another user"};
      }
      continue;  // none listens there (a copy that is gone left its socket)
    }
    Answer(socket.Get(), std::string(command));
    const std::string answer = ReadLine(socket.Get(), AnswerTimeoutMs);
    if (answer.starts_with("error ")) return {Delivery::Refused, answer.substr(6)};
    // No answer in time: the program is busy (a capture waits for the user); the command
    // waits in the socket and runs when it is free.
    return {Delivery::Delivered, {}};
  }
  return {Delivery::NoProgram, {}};
}
