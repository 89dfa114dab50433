#pragma once

#include <string>
#include <string_view>

// Why `path` cannot take a new capture, or empty when it can: the folder must take new files,
// and whatever is at `path` must be a plain file this user could write (that file is kept; the
// capture then goes to the next free numbered name).
std::string outputProblem(const std::string& path);

// Writes `bytes` to a new file at `path`, or at path-2.ext, path-3.ext... when that name is
// taken; `written` gets the name used. Nothing existing is ever replaced, and no reader (nor a
// crash) ever sees a partly written file under any name. Returns an error text, empty on success.
std::string writeNewFile(const std::string& path, std::string_view bytes, std::string& written);

// writeNewFile, then the name used as one line on standard output, where the calling program
// reads the saved file's path.
std::string saveCapture(const std::string& path, std::string_view bytes, std::string& written);
