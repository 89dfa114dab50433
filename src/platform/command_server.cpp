#include "platform/command_server.h"

#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/timerfd.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <list>
#include <optional>

#include "platform/command_channel.h"
#include "platform/process_fd.h"
#include "platform/termination_request.h"
#include "platform/toolkit.h"

namespace {

using Clock = std::chrono::steady_clock;

// Clients served at once; more are turned away until some are done.
constexpr std::size_t MostClients = 64;
// How long the listener rests when no descriptor is left to accept with: its pending
// connection keeps it readable, and watching it meanwhile would wake the wait at once, forever.
constexpr auto AcceptRest = std::chrono::milliseconds(100);

struct Client {
  UniqueFd fd;
  std::int64_t number = 0;
  Clock::time_point deadline;
  std::string line;
  bool waiting = false;  // for a capture's outcome, no longer read
};

struct Server {
  std::string path;
  UniqueFd listening;
  UniqueFd events;  // epoll: the listening socket, the clients being read, the deadline timer
  UniqueFd deadline;
  std::list<Client> clients;
  std::int64_t lastNumber = 0;
  bool captureUnderway = false;
  std::optional<Clock::time_point> listenAgainAt;  // while the listener rests
};

Server server;

void Watch(int fd) {
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.fd = fd;
  epoll_ctl(server.events.Get(), EPOLL_CTL_ADD, fd, &event);
}

void Send(int fd, const std::string& line) {
  const std::string text = line + "\n";
  [[maybe_unused]] const ssize_t sent = send(fd, text.data(), text.size(), MSG_NOSIGNAL);
}

// The timer fires at the earliest deadline of a client still being read, or when a resting
// listener is to be watched again.
void ArmDeadline() {
  std::optional<Clock::time_point> earliest = server.listenAgainAt;
  for (const Client& client : server.clients) {
    if (!client.waiting && (!earliest || client.deadline < *earliest)) earliest = client.deadline;
  }
  itimerspec when{};
  if (earliest) {
    const long long ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(*earliest - Clock::now()).count();
    // Zero would disarm the timer: a deadline already past fires at once instead.
    const long long wait = ns > 0 ? ns : 1;
    when.it_value.tv_sec = static_cast<time_t>(wait / 1000000000LL);
    when.it_value.tv_nsec = static_cast<long>(wait % 1000000000LL);
  }
  timerfd_settime(server.deadline.Get(), 0, &when, nullptr);
}

void AcceptClients() {
  if (server.listenAgainAt) {
    if (Clock::now() < *server.listenAgainAt) return;
    server.listenAgainAt.reset();
    Watch(server.listening.Get());
  }
  for (;;) {
    UniqueFd fd(accept4(server.listening.Get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
    if (!fd.Valid()) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
        epoll_ctl(server.events.Get(), EPOLL_CTL_DEL, server.listening.Get(), nullptr);
        server.listenAgainAt = Clock::now() + AcceptRest;
      }
      return;
    }
    ucred peer{};
    socklen_t size = sizeof peer;
    if (getsockopt(fd.Get(), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.uid != getuid()) {
      Send(fd.Get(), "error the running program belongs to another user");
      continue;
    }
    if (server.clients.size() >= MostClients) {
      Send(fd.Get(), "error too many commands at once, try again");
      continue;
    }
    Watch(fd.Get());
    server.clients.push_back({std::move(fd),
                              ++server.lastNumber,
                              Clock::now() + std::chrono::milliseconds(CommandDeadlineMs),
                              {},
                              false});
  }
}

// Carries out or answers one whole command; true when the client waits for more.
bool Handle(Client& client) {
  const CommandLineWords words = ReadCommandWords(client.line);
  const std::optional<std::int64_t> item = CommandItem(words.command);
  // The client's bytes are never sent back: they may hold anything.
  if (!item) {
    Send(client.fd.Get(), "error unknown command");
    return false;
  }
  if (*item == QuitMenuNumber) {
    Send(client.fd.Get(), "ok");
    // As a signal would: it also stops a capture tool that is running.
    RequestTermination();
    return false;
  }
  const bool capture = words.command.starts_with("capture ");
  if (capture && server.captureUnderway) {
    Send(client.fd.Get(), "busy");
    return false;
  }
  if (capture) server.captureUnderway = true;
  Send(client.fd.Get(), "ok");
  const bool waits = capture && words.wait;
  QueueEvent(MenuEvent, *item, CommandChannelWindow, waits ? client.number : 0, PostCustom);
  return waits;
}

// Reads what the client has sent; false once it is done with (answered, or gone).
bool ReadClient(Client& client) {
  char buffer[512];
  for (;;) {
    const ssize_t got = read(client.fd.Get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno == EAGAIN || errno == EWOULDBLOCK;
    const std::string_view text(buffer, static_cast<std::size_t>(got));
    const std::size_t end = text.find('\n');
    client.line.append(text.substr(0, end));
    if (client.line.size() > LongestCommand) {
      Send(client.fd.Get(), "error the command is too long");
      return false;
    }
    // A client may end its command with a line feed or by closing its side.
    if (got == 0 || end != std::string_view::npos) {
      if (!Handle(client)) return false;
      epoll_ctl(server.events.Get(), EPOLL_CTL_DEL, client.fd.Get(), nullptr);
      client.waiting = true;
      return true;
    }
  }
}

}  // namespace

bool StartCommandServer(const std::string& path, std::string& why) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) {
    why = "the path is too long for a socket";
    return false;
  }
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  UniqueFd listening(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  UniqueFd events(epoll_create1(EPOLL_CLOEXEC));
  UniqueFd deadline(timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK));
  if (!listening.Valid() || !events.Valid() || !deadline.Valid()) {
    why = std::strerror(errno);
    return false;
  }
  unlink(path.c_str());
  // Only this user may connect; the folder is this user's alone as well.
  const mode_t mask = umask(0177);
  const bool bound =
      bind(listening.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  umask(mask);
  if (!bound || listen(listening.Get(), 64) != 0) {
    why = std::strerror(errno);
    return false;
  }
  server.path = path;
  server.listening = std::move(listening);
  server.events = std::move(events);
  server.deadline = std::move(deadline);
  Watch(server.listening.Get());
  Watch(server.deadline.Get());
  return true;
}

void StopCommandServer() {
  if (!server.listening.Valid()) return;
  unlink(server.path.c_str());
  server = Server{};
}

int CommandServerDescriptor() {
  return server.events.Get();
}

void ServeCommands() {
  if (!server.listening.Valid()) return;
  std::uint64_t expirations = 0;
  [[maybe_unused]] const ssize_t got =
      read(server.deadline.Get(), &expirations, sizeof expirations);
  AcceptClients();
  const Clock::time_point now = Clock::now();
  for (auto client = server.clients.begin(); client != server.clients.end();) {
    bool keep = client->waiting || ReadClient(*client);
    if (keep && !client->waiting && now >= client->deadline) {
      Send(client->fd.Get(), "error the command did not come in time");
      keep = false;
    }
    client = keep ? std::next(client) : server.clients.erase(client);
  }
  ArmDeadline();
}

void MarkCaptureUnderway(bool underway) {
  server.captureUnderway = underway;
}

bool CaptureUnderway() {
  return server.captureUnderway;
}

void AnswerWaitingClient(std::int64_t client, const std::string& line) {
  for (auto waiting = server.clients.begin(); waiting != server.clients.end(); ++waiting) {
    if (waiting->number != client || !waiting->waiting) continue;
    Send(waiting->fd.Get(), line);
    server.clients.erase(waiting);
    return;
  }
}
