#pragma once

#include <string>
#include <string_view>

// Conversions between the UTF-8 texts of the program and the UTF-16 texts of key events and
// menus. Malformed input never throws: bad bytes become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
// Appends one code point (at most U+10FFFF, not a surrogate) in UTF-8.
void AppendUtf8(std::string& out, char32_t c);
