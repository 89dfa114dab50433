#pragma once

// Starts the program on the installed platform, runs the loop and shuts down. Returns the exit
// status, which is 0 on every path.
int RunApplication();

// The two texts of the start-up failures.
inline constexpr const char* HandlerFailureTitle = "Fatal Error!";
inline constexpr const char* HandlerFailureText = "Failed to install handler.";
inline constexpr const char* UnsupportedHostTitle = "Error!";
