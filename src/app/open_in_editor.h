#pragma once

#include <string>

// Starts the annotation editor beside this program on `file` ("edit" annotates it, "pin" pins
// it on the screen), detached, and returns at once. The exit status: 0 started, 2 when the
// file cannot be read or the editor cannot be started (said on standard error).
int OpenInEditor(const std::string& how, const std::string& file);
