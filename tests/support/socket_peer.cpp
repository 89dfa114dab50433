// The other end of the command socket, for the tests of its hardening:
//   socket_peer send PATH TEXT      sends TEXT, then prints the whole answer
//   socket_peer slow PATH MS TEXT   sends TEXT a byte every MS ms; prints after how many ms the
//                                   program dropped it (status 1 when it never did)
//   socket_peer listen PATH RECORD  listens at PATH, appends what each client sends to RECORD
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  const std::string mode = argc >= 4 ? argv[1] : "";
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (argc >= 4) std::strncpy(address.sun_path, argv[2], sizeof address.sun_path - 1);
  const auto* where = reinterpret_cast<const sockaddr*>(&address);
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  char buffer[256];
  if (mode == "listen" && bind(fd, where, sizeof address) == 0 && listen(fd, 8) == 0) {
    for (;;) {
      const int client = accept(fd, nullptr, nullptr);
      pollfd ready{client, POLLIN, 0};
      const ssize_t got = poll(&ready, 1, 1000) > 0 ? read(client, buffer, sizeof buffer) : 0;
      if (FILE* record = std::fopen(argv[3], "a")) {
        std::fwrite(buffer, 1, got > 0 ? static_cast<std::size_t>(got) : 0, record);
        std::fclose(record);
      }
      close(client);
    }
  }
  if ((mode != "send" && mode != "slow") || connect(fd, where, sizeof address) != 0) return 2;
  if (mode == "send") {
    [[maybe_unused]] ssize_t sent = send(fd, argv[3], std::strlen(argv[3]), MSG_NOSIGNAL);
    shutdown(fd, SHUT_WR);
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) fwrite(buffer, 1, got, stdout);
    return 0;
  }
  const auto start = std::chrono::steady_clock::now();
  for (const char* c = argc == 5 ? argv[4] : ""; *c != '\0'; ++c) {
    pollfd dropped{fd, POLLIN, 0};
    if (send(fd, c, 1, MSG_NOSIGNAL) != 1 || poll(&dropped, 1, std::stoi(argv[3])) > 0) {
      std::printf("%lld\n",
                  static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                             std::chrono::steady_clock::now() - start)
                                             .count()));
      return 0;
    }
  }
  return 1;
}
