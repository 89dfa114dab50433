#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Most argument words one start may pass after the program name.
inline constexpr std::size_t MaxProcessWords = 510;

// Cuts a parameter text into argument words: blanks, tabs and line feeds separate; a word that
// begins with a double quote runs to the next one (or to the line's end) and loses its quotes.
// There is no escape character.
std::vector<std::string> SplitParameters(std::string_view text);
