#pragma once

#include <string>

// The full path of the running program's executable file; empty when the system cannot say.
std::string ExecutablePath();
