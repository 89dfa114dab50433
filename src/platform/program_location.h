#pragma once

// Where the running program lies, and the files it brings along. The build tree keeps the
// installed layout (bin/ beside share/vantorshot/), so the same answers hold in both.

#include <string>

// The full path of the running program's executable file; empty when the system cannot say.
std::string ExecutablePath();

// The folder that holds the executable, ending in "/"; empty when unknown.
std::string ProgramFolder();

// The annotation editor: $VANTORSHOT_EDITOR when set, else vantorshot-edit beside the program.
std::string EditorProgram();

// The folder the program's resources are read from, ending in "/": share/vantorshot/ beside
// the program's bin/ folder.
std::string ResourcesFolder();
