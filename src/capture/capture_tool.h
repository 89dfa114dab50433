#pragma once

#include <string>

// The capture tool: VANTORSHOT_CAPTURE_TOOL when set, else "vantorshot-capture" beside the
// running program.
std::string CaptureToolProgram();
