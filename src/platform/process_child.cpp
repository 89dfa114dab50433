#include "platform/process_child.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

namespace {

void ConnectPipe(int end, int peer, int target) {
  if (end < 0) return;
  if (end == target) {
    fcntl(target, F_SETFD, 0);
  } else {
    dup2(end, target);
  }
  close(peer);
}

}  // namespace

[[noreturn]] void RunChild(const ChildPlan& plan) {
  if (!plan.folder.empty()) {
    [[maybe_unused]] const int entered = chdir(plan.folder.c_str());
  }
  ConnectPipe(plan.output, plan.outputPeer, STDOUT_FILENO);
  ConnectPipe(plan.errors, plan.errorsPeer, STDERR_FILENO);
  // The program starts with the signal state of a fresh process, not the runner's.
  sigset_t none;
  sigemptyset(&none);
  pthread_sigmask(SIG_SETMASK, &none, nullptr);
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigaction(SIGPIPE, &standard, nullptr);
  execvp(plan.argv[0], plan.argv.data());
  _exit(1);
}

ChildPlan PlanChild(std::string_view program, const std::vector<std::string>& words,
                    std::string_view folder) {
  ChildPlan plan;
  plan.words.reserve(words.size() + 1);
  plan.words.emplace_back(program);
  plan.words.insert(plan.words.end(), words.begin(), words.end());
  for (std::string& word : plan.words) plan.argv.push_back(word.data());
  plan.argv.push_back(nullptr);
  plan.folder = folder;
  return plan;
}
