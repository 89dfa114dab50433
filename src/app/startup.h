#pragma once

#include <cstdint>
#include <optional>

// Starts the program on the installed platform, runs the loop and shuts down. `first` is a
// command (a menu item) to run once the program is up. Returns the exit status, which is 0 on
// every path.
int RunApplication(std::optional<std::int64_t> first = std::nullopt);

// The two texts of the start-up failures.
inline constexpr const char* HandlerFailureTitle = "Fatal Error!";
inline constexpr const char* HandlerFailureText = "Failed to install handler.";
inline constexpr const char* UnsupportedHostTitle = "Error!";
