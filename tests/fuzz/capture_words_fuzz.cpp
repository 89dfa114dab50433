// The capture tool's words, as any caller may pass them (split at NUL bytes): read without a
// crash, and a request that is read always names a path that is no option.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "capture_request.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> words;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find('\0', start), text.size());
    words.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  const ParsedWords parsed = parseCaptureWords(words);
  if (parsed.request &&
      (parsed.request->outputPath.empty() || parsed.request->outputPath.starts_with('-'))) {
    std::abort();
  }
  return 0;
}
