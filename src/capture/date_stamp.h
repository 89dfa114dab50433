#pragma once

#include <string>

// The local time as "+%Y-%d-%m-%I%M%S" prints it (year, day, month, 12-hour clock, minutes,
// seconds), from one run of the date program; empty when it cannot be run.
std::string MakeDateStamp();

// "/bin/date", or the program that VANTORSHOT_DATE_PROGRAM names (tests fix the time with it).
std::string DateProgram();
