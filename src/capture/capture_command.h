#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The option text of one capture from the settings: kind, format and option words, each
// optional word with its own leading blank, everything but the output path.
std::string CaptureOptionText(std::int8_t kind);

// The tool's argument words: the words of the option text, then the output path as one word
// whatever characters it holds.
std::vector<std::string> CaptureToolWords(std::int8_t kind, const std::string& outputPath);
