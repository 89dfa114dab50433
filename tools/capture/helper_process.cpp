#include "helper_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "file_descriptor.h"

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

// Both ends are closed on exec, so no child but the one given the read end as its input holds one.
struct Pipe {
  FileDescriptor read;
  FileDescriptor write;
  Pipe() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) == 0) {
      read.reset(fds[0]);
      write.reset(fds[1]);
    }
  }
};

std::vector<char*> argumentPointers(const std::vector<std::string>& argv) {
  std::vector<char*> pointers;
  for (const std::string& word : argv) pointers.push_back(const_cast<char*>(word.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

// Output goes to /dev/null, and no descriptor above 2 reaches the child, not even one this tool
// inherited: a pipe of its caller kept open in a long-lived child would stall the caller.
void silenceOutput(SpawnActions& actions) {
  posix_spawn_file_actions_addopen(actions.get(), STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(actions.get(), STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclosefrom_np(actions.get(), STDERR_FILENO + 1);
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
  if (!pipe.read.valid()) return false;
  SpawnActions actions;
  posix_spawn_file_actions_adddup2(actions.get(), pipe.read.get(), STDIN_FILENO);
  silenceOutput(actions);
  SpawnAttributes attributes;
  posix_spawnattr_setflags(attributes.get(), POSIX_SPAWN_SETSID);
  std::vector<char*> args = argumentPointers(argv);
  pid_t pid = 0;
  if (posix_spawnp(&pid, args[0], actions.get(), attributes.get(), args.data(), environ) != 0) {
    return false;
  }
  pipe.read.reset();

  // A reader that quits early must not kill this tool with SIGPIPE.
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  struct sigaction previous {};
  sigaction(SIGPIPE, &ignore, &previous);
  bool fed = writeAll(pipe.write.get(), input);
  pipe.write.reset();
  sigaction(SIGPIPE, &previous, nullptr);

  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return fed && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
