#pragma once

#include <string>
#include <string_view>
#include <vector>

// Starts a program found on PATH with its output sent to /dev/null and does not wait for it: the
// caller's pipes must not stay open in a child that outlives this tool. False if it did not start.
bool startDetached(const std::vector<std::string>& argv);

// Starts a program, feeds `input` to its standard input and waits for it to exit. True when it
// exited with status 0.
bool runFeedingInput(const std::vector<std::string>& argv, std::string_view input);
