// Parameter texts cut into argument words: the words together are never longer than the text
// (quotes and separators go, nothing is added).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/process_words.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::size_t length = 0;
  for (const std::string& word : SplitParameters(text)) length += word.size();
  if (length > text.size()) std::abort();
  return 0;
}
