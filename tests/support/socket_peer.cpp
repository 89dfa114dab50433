// A stand-in at the other end of the command socket, for the tests of its hardening:
//   socket_peer send PATH TEXT        sends TEXT, then prints every byte of the answer
//   socket_peer slow PATH MS TEXT     sends TEXT a byte every MS ms; prints after how many ms
//                                     the program dropped it (status 1 when it never did)
//   socket_peer listen PATH RECORD    a listener at PATH: appends what each client sends to
//                                     RECORD and answers "ok"
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

sockaddr_un Address(const char* path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path, sizeof address.sun_path - 1);
  return address;
}

int Connect(const char* path) {
  const sockaddr_un address = Address(path);
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    std::perror("connect");
    _exit(2);
  }
  return fd;
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[256];
  for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, got);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "send" && argc == 4) {
    const int fd = Connect(argv[2]);
    [[maybe_unused]] ssize_t sent = send(fd, argv[3], std::strlen(argv[3]), MSG_NOSIGNAL);
    shutdown(fd, SHUT_WR);
    std::fputs(ReadAll(fd).c_str(), stdout);
    return 0;
  }
  if (mode == "slow" && argc == 5) {
    const int fd = Connect(argv[2]);
    const int interval = std::stoi(argv[3]);
    const auto start = std::chrono::steady_clock::now();
    for (const char* c = argv[4]; *c != '\0'; ++c) {
      pollfd dropped{fd, POLLIN, 0};
      if (send(fd, c, 1, MSG_NOSIGNAL) != 1 || poll(&dropped, 1, interval) > 0) {
        std::printf("%lld\n",
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                               std::chrono::steady_clock::now() - start)
                                               .count()));
        return 0;
      }
    }
    return 1;
  }
  if (mode == "listen" && argc == 4) {
    const sockaddr_un address = Address(argv[2]);
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd, 8) != 0) {
      std::perror("listen");
      return 2;
    }
    for (;;) {
      const int client = accept(fd, nullptr, nullptr);
      pollfd ready{client, POLLIN, 0};
      std::string got;
      char buffer[256];
      ssize_t n = 0;
      while (poll(&ready, 1, 1000) > 0 && (n = read(client, buffer, sizeof buffer)) > 0) {
        got.append(buffer, n);
        if (got.find('\n') != std::string::npos) break;
      }
      if (FILE* record = std::fopen(argv[3], "a")) {
        std::fputs(got.c_str(), record);
        std::fclose(record);
      }
      [[maybe_unused]] ssize_t sent = send(client, "ok\n", 3, MSG_NOSIGNAL);
      close(client);
    }
  }
  std::fputs("usage: socket_peer send|slow|listen ...\n", stderr);
  return 2;
}
