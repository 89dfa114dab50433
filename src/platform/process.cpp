#include "platform/process.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "platform/process_child.h"
#include "platform/process_fd.h"
#include "platform/process_lookup.h"
#include "platform/process_output.h"
#include "platform/process_words.h"

struct ProcessRecord {
  int exitStatus = -1;  // written by the waiter under the table's mutex
  std::uint64_t serial = 0;
  std::unique_ptr<OutputBuffer> output;
  UniqueFd announceEnd;  // the waiter writes one byte here when the program has ended
  pthread_t waiter{};
};

namespace {

// The live attached programs. Never destroyed: a waiter thread may outlive the program's own
// shutdown and still take the mutex.
struct ProcessTable {
  std::recursive_mutex mutex;
  std::condition_variable_any statusKnown;
  std::map<ProcessRecord*, std::unique_ptr<ProcessRecord>> records;
  std::uint64_t nextSerial = 1;
};

ProcessTable& Table() {
  static ProcessTable* table = new ProcessTable;
  return *table;
}

// The waiter does nothing but wait, yet sanitizers and glibc need more than a bare minimum.
constexpr std::size_t WaiterStackSize = 64 * 1024;

struct WaiterStart {
  ProcessRecord* record;
  std::uint64_t serial;
  pid_t pid;
};

void* WaitForProgram(void* argument) {
  const WaiterStart start = *std::unique_ptr<WaiterStart>(static_cast<WaiterStart*>(argument));
  int status = 0;
  pid_t reaped;
  do {
    reaped = waitpid(start.pid, &status, 0);
  } while (reaped < 0 && errno == EINTR);
  const int code = reaped == start.pid && WIFEXITED(status) ? WEXITSTATUS(status) : 1;

  ProcessTable& table = Table();
  std::lock_guard lock(table.mutex);
  const auto found = table.records.find(start.record);
  if (found != table.records.end() && start.record->serial == start.serial) {
    start.record->exitStatus = code;
    if (start.record->announceEnd.Valid()) {
      const char byte = 1;
      [[maybe_unused]] const ssize_t written = write(start.record->announceEnd.Get(), &byte, 1);
    }
  }
  table.statusKnown.notify_all();
  return nullptr;
}

pid_t WaitReaped(pid_t pid) {
  int status = 0;
  pid_t reaped;
  do {
    reaped = waitpid(pid, &status, 0);
  } while (reaped < 0 && errno == EINTR);
  return reaped;
}

ProcessHandle StartDetached(const ChildPlan& plan) {
  PipeEnds idPipe;
  if (!OpenPipe(idPipe)) return {};
  const pid_t intermediate = fork();
  if (intermediate < 0) return {};
  if (intermediate == 0) {
    // The intermediate child hands the real child to the system by ending at once.
    const pid_t child = fork();
    if (child == 0) RunChild(plan);
    if (child < 0) _exit(1);
    const std::int32_t id = child;
    _exit(write(idPipe.write.Get(), &id, sizeof id) == sizeof id ? 0 : 1);
  }
  idPipe.write.Reset();
  std::int32_t id = 0;
  ssize_t got;
  do {
    got = read(idPipe.read.Get(), &id, sizeof id);
  } while (got < 0 && errno == EINTR);
  WaitReaped(intermediate);
  if (got != sizeof id) return {};
  return {nullptr, true};
}

ProcessHandle StartAttached(ChildPlan& plan, int modes) {
  const bool readOutput = (modes & ProcessReadOutput) != 0;
  PipeEnds outputPipe;
  PipeEnds endPipe;
  if (readOutput) {
    if (!OpenPipe(outputPipe) || !OpenPipe(endPipe)) return {};
    plan.output = outputPipe.write.Get();
    plan.outputPeer = outputPipe.read.Get();
  }

  const pid_t pid = fork();
  if (pid < 0) return {};
  if (pid == 0) RunChild(plan);

  // The waiter looks the record up under the mutex, so it cannot act before the record is in.
  ProcessTable& table = Table();
  std::lock_guard lock(table.mutex);
  auto record = std::make_unique<ProcessRecord>();
  record->serial = table.nextSerial++;
  if (readOutput) {
    outputPipe.write.Reset();
    fcntl(outputPipe.read.Get(), F_SETFL, fcntl(outputPipe.read.Get(), F_GETFL) | O_NONBLOCK);
    record->output = std::make_unique<OutputBuffer>();
    record->output->pipe = std::move(outputPipe.read);
    record->output->programEnded = std::move(endPipe.read);
    record->announceEnd = std::move(endPipe.write);
  }

  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, WaiterStackSize);
  auto start = std::make_unique<WaiterStart>(WaiterStart{record.get(), record->serial, pid});
  const int failed = pthread_create(&record->waiter, &attributes, WaitForProgram, start.get());
  pthread_attr_destroy(&attributes);
  if (failed != 0) {
    // Without a waiter nobody would reap the program: take the start back.
    kill(pid, SIGKILL);
    WaitReaped(pid);
    return {};
  }
  start.release();  // the waiter owns it now
  ProcessRecord* handle = record.get();
  table.records.emplace(handle, std::move(record));
  return {handle, true};
}

bool StatusKnown(ProcessRecord* record) {
  std::lock_guard lock(Table().mutex);
  return record->exitStatus != -1;
}

void AwaitExit(ProcessRecord* record) {
  ProcessTable& table = Table();
  std::unique_lock lock(table.mutex);
  table.statusKnown.wait(lock, [record] { return record->exitStatus != -1; });
}

}  // namespace

ProcessHandle StartProcessWords(std::string_view program, const std::vector<std::string>& words,
                                std::string_view folder, int modes) {
  if (words.size() > MaxProcessWords || !ProgramFound(program)) return {};
  ChildPlan plan = PlanChild(program, words, folder);
  if ((modes & ProcessKeep) == 0) {
    const UniqueFd nowhere((modes & ProcessQuiet) != 0 ? open("/dev/null", O_WRONLY | O_CLOEXEC)
                                                       : -1);
    plan.output = plan.errors = nowhere.Get();
    return StartDetached(plan);
  }
  return StartAttached(plan, modes);
}

ProcessHandle StartProcess(std::string_view program, std::string_view parameters,
                           std::string_view folder, int modes) {
  return StartProcessWords(program, SplitParameters(parameters), folder, modes);
}

bool ProcessActive(ProcessHandle handle) {
  ProcessRecord* record = handle.record;
  if (record == nullptr) return false;
  if (record->output == nullptr) return !StatusKnown(record);
  OutputBuffer& output = *record->output;
  TopUpOutput(output);
  if (output.fill > 0 || !output.ended) return true;
  AwaitExit(record);
  return false;
}

std::size_t PendingProcessOutput(ProcessHandle handle) {
  ProcessRecord* record = handle.record;
  if (record == nullptr || record->output == nullptr) return 0;
  if (record->output->fill == 0) TopUpOutput(*record->output);
  return record->output->fill;
}

void WaitProcessOutput(ProcessHandle handle) {
  ProcessRecord* record = handle.record;
  if (record == nullptr) return;
  if (record->output == nullptr) {
    AwaitExit(record);
    return;
  }
  WaitOutput(*record->output);
}

std::string ReadProcessLine(ProcessHandle handle) {
  ProcessRecord* record = handle.record;
  if (record == nullptr || record->output == nullptr) return {};
  return ReadOutputLine(*record->output);
}

void ReleaseProcess(ProcessHandle handle) {
  ProcessRecord* record = handle.record;
  if (record == nullptr) return;
  ProcessTable& table = Table();
  std::unique_ptr<ProcessRecord> owned;
  {
    std::lock_guard lock(table.mutex);
    const auto found = table.records.find(record);
    if (found == table.records.end()) return;
    owned = std::move(found->second);
    table.records.erase(found);
  }
  // A waiter that has stored the status is about to end: join it so that no thread outlives
  // the release. One still waiting ends by itself when the program does.
  if (owned->exitStatus != -1) {
    pthread_join(owned->waiter, nullptr);
  } else {
    pthread_detach(owned->waiter);
  }
}

std::vector<std::string> WaitForProcessEnd(ProcessHandle handle) {
  std::vector<std::string> lines;
  while (ProcessActive(handle)) {
    if (PendingProcessOutput(handle) > 0) {
      lines.push_back(ReadProcessLine(handle));
    } else {
      WaitProcessOutput(handle);
    }
  }
  ReleaseProcess(handle);
  return lines;
}
