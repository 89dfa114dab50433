#pragma once

#include <string>

// The capture tool: VANTORSHOT_CAPTURE_TOOL when set, else the session's tool (the host names
// it) beside the running program.
std::string CaptureToolProgram();
