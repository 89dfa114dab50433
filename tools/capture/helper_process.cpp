#include "helper_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace {

class SpawnActions {
 public:
  SpawnActions() { posix_spawn_file_actions_init(&actions_); }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;
  ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

class SpawnAttributes {
 public:
  SpawnAttributes() { posix_spawnattr_init(&attributes_); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  ~SpawnAttributes() { posix_spawnattr_destroy(&attributes_); }
  posix_spawnattr_t* get() { return &attributes_; }

 private:
  posix_spawnattr_t attributes_;
};

struct Pipe {
  int read = -1;
  int write = -1;
  Pipe() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) == 0) {
      read = fds[0];
      write = fds[1];
    }
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  ~Pipe() {
    closeRead();
    closeWrite();
  }
  void closeRead() {
    if (read >= 0) ::close(read);
    read = -1;
  }
  void closeWrite() {
    if (write >= 0) ::close(write);
    write = -1;
  }
};

std::vector<char*> argumentPointers(const std::vector<std::string>& argv) {
  std::vector<char*> pointers;
  for (const std::string& word : argv) pointers.push_back(const_cast<char*>(word.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

void silenceOutput(SpawnActions& actions) {
  posix_spawn_file_actions_addopen(actions.get(), STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(actions.get(), STDERR_FILENO, "/dev/null", O_WRONLY, 0);
}

}  // namespace

bool startDetached(const std::vector<std::string>& argv) {
  SpawnActions actions;
  posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  silenceOutput(actions);
  SpawnAttributes attributes;
  // Its own session, so that closing the starting terminal or process group leaves it running.
  posix_spawnattr_setflags(attributes.get(), POSIX_SPAWN_SETSID);
  std::vector<char*> args = argumentPointers(argv);
  pid_t pid = 0;
  return posix_spawnp(&pid, args[0], actions.get(), attributes.get(), args.data(), environ) == 0;
}

bool runFeedingInput(const std::vector<std::string>& argv, std::string_view input) {
  Pipe pipe;
  if (pipe.read < 0) return false;
  SpawnActions actions;
  posix_spawn_file_actions_adddup2(actions.get(), pipe.read, STDIN_FILENO);
  silenceOutput(actions);
  SpawnAttributes attributes;
  posix_spawnattr_setflags(attributes.get(), POSIX_SPAWN_SETSID);
  std::vector<char*> args = argumentPointers(argv);
  pid_t pid = 0;
  if (posix_spawnp(&pid, args[0], actions.get(), attributes.get(), args.data(), environ) != 0) {
    return false;
  }
  pipe.closeRead();

  // A reader that quits early must not kill this tool with SIGPIPE.
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  struct sigaction previous {};
  sigaction(SIGPIPE, &ignore, &previous);
  const char* data = input.data();
  std::size_t left = input.size();
  while (left > 0) {
    ssize_t written = ::write(pipe.write, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      break;
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  pipe.closeWrite();
  sigaction(SIGPIPE, &previous, nullptr);

  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return left == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
