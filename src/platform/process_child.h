#pragma once

// Starting a child program: what it needs is prepared before the fork, since after it only
// async-signal-safe calls are allowed.

#include <string>
#include <string_view>
#include <vector>

// Everything the child needs; the child allocates nothing.
struct ChildPlan {
  std::vector<std::string> words;
  std::vector<char*> argv;
  std::string folder;
  int output = -1;      // becomes the child's standard output when >= 0
  int outputPeer = -1;  // the parent's end of that pipe, closed in the child
  int errors = -1;      // becomes the child's standard error when >= 0
  int errorsPeer = -1;
};

ChildPlan PlanChild(std::string_view program, const std::vector<std::string>& words,
                    std::string_view folder);
// In the child after the fork: connects the pipes, resets the signal state and runs the
// program; ends the child with status 1 when it cannot be run.
[[noreturn]] void RunChild(const ChildPlan& plan);
