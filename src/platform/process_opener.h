#pragma once

#include <string>

// The desktop's program that shows a folder or a web page in the user's chosen application.
std::string OpenerProgram();
