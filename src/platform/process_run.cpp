#include "platform/process_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/process_child.h"
#include "platform/process_fd.h"
#include "platform/process_lookup.h"
#include "platform/process_words.h"

namespace {

using Clock = std::chrono::steady_clock;

// Appends what the pipe holds now; false once it has reached its end.
bool Drain(const UniqueFd& pipe, std::string& into) {
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(pipe.Get(), buffer, sizeof buffer);
    if (got > 0) {
      into.append(buffer, static_cast<std::size_t>(got));
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
  }
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

bool Readable(int fd) {
  if (fd < 0) return false;
  pollfd ready{fd, POLLIN, 0};
  return poll(&ready, 1, 0) > 0;
}

void SetNonBlocking(const UniqueFd& fd) {
  fcntl(fd.Get(), F_SETFL, fcntl(fd.Get(), F_GETFL) | O_NONBLOCK);
}

}  // namespace

ProgramOutcome RunProgram(std::string_view program, const std::vector<std::string>& words,
                          int interrupt, ServedMeanwhile served) {
  ProgramOutcome outcome;
  if (words.size() > MaxProcessWords || !ProgramFound(program)) return outcome;
  PipeEnds output;
  PipeEnds errors;
  if (!OpenPipe(output) || !OpenPipe(errors)) return outcome;
  ChildPlan plan = PlanChild(program, words, "");
  plan.output = output.write.Get();
  plan.outputPeer = output.read.Get();
  plan.errors = errors.write.Get();
  plan.errorsPeer = errors.read.Get();
  const pid_t pid = fork();
  if (pid < 0) return outcome;
  if (pid == 0) RunChild(plan);
  outcome.started = true;
  output.write.Reset();
  errors.write.Reset();
  SetNonBlocking(output.read);
  SetNonBlocking(errors.read);
  // Readable once the program has ended, even while a child it left behind keeps the pipes.
  const UniqueFd ended(static_cast<int>(syscall(SYS_pidfd_open, pid, 0)));

  std::string out;
  std::string err;
  bool outOpen = true;
  bool errOpen = true;
  bool stopping = false;
  bool killed = false;
  Clock::time_point killAt{};
  for (;;) {
    pollfd watch[5] = {{outOpen ? output.read.Get() : -1, POLLIN, 0},
                       {errOpen ? errors.read.Get() : -1, POLLIN, 0},
                       {ended.Get(), POLLIN, 0},
                       {stopping ? -1 : interrupt, POLLIN, 0},
                       {served.serve != nullptr ? served.descriptor : -1, POLLIN, 0}};
    // Without a process descriptor the pipes' end stands for the program's.
    if (!ended.Valid() && !outOpen && !errOpen) break;
    int timeout = -1;
    if (stopping && !killed) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(killAt - Clock::now());
      timeout = left.count() > 0 ? static_cast<int>(left.count()) : 0;
    }
    if (poll(watch, 5, timeout) < 0 && errno != EINTR) break;
    if (watch[4].revents != 0) served.serve();
    if (outOpen && watch[0].revents != 0) outOpen = Drain(output.read, out);
    if (errOpen && watch[1].revents != 0) errOpen = Drain(errors.read, err);
    if (watch[2].revents != 0) break;
    // What was served may have asked to stop: a quit on the command channel.
    if (!stopping && (watch[3].revents != 0 || Readable(interrupt))) {
      kill(pid, SIGTERM);
      stopping = true;
      outcome.stopped = true;
      killAt = Clock::now() + std::chrono::milliseconds(StopGraceMs);
    } else if (stopping && !killed && Clock::now() >= killAt) {
      kill(pid, SIGKILL);
      killed = true;
    }
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  // What it wrote before it ended is in the pipes by now.
  if (outOpen) Drain(output.read, out);
  if (errOpen) Drain(errors.read, err);
  if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) outcome.signal = WTERMSIG(status);
  outcome.output = Lines(out);
  for (const std::string& line : Lines(err)) {
    if (!line.empty()) outcome.lastErrorLine = line;
  }
  return outcome;
}
