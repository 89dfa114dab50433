#include "platform/process_words.h"

namespace {

bool IsSeparator(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}

}  // namespace

std::vector<std::string> SplitParameters(std::string_view text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size()) {
    if (IsSeparator(text[i])) {
      ++i;
      continue;
    }
    if (text[i] == '"') {
      const std::size_t start = i + 1;
      std::size_t end = text.find('"', start);
      if (end == std::string_view::npos) {
        // An unclosed quote ends the word at the line's end.
        end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        words.emplace_back(text.substr(start, end - start));
        i = end;
      } else {
        words.emplace_back(text.substr(start, end - start));
        i = end + 1;
      }
      continue;
    }
    const std::size_t start = i;
    while (i < text.size() && !IsSeparator(text[i])) ++i;
    words.emplace_back(text.substr(start, i - start));
  }
  return words;
}
