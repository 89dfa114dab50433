#pragma once

#include <string_view>

// Whether `program` can be started: a path to a non-empty executable file, or a plain name
// found the same way along PATH. The start itself still passes the name as given.
bool ProgramFound(std::string_view program);
