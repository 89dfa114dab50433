#include "last_selection.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "file_descriptor.h"

namespace {

constexpr char kFileName[] = "last-selection";
constexpr std::size_t kLongestFile = 64;

// Relative values are ignored, as the base directory rules ask.
std::string stateFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state && state[0] == '/') return std::string(state) + "/vantorshot";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.local/state/vantorshot";
  return {};
}

bool makeFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    std::string prefix = path.substr(0, slash);
    if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

// Four decimal numbers "x y width height", one space apart, and a newline.
std::optional<ScreenRect> parse(std::string_view text) {
  if (!text.ends_with('\n')) return std::nullopt;
  text.remove_suffix(1);
  std::array<int, 4> values{};
  const char* at = text.data();
  const char* end = text.data() + text.size();
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0 && (at == end || *at++ != ' ')) return std::nullopt;
    auto [next, ec] = std::from_chars(at, end, values[i]);
    if (ec != std::errc()) return std::nullopt;
    at = next;
  }
  if (at != end) return std::nullopt;
  return ScreenRect{values[0], values[1], values[2], values[3]};
}

}  // namespace

std::optional<ScreenRect> loadLastSelection(ScreenRect screen) {
  std::string folder = stateFolder();
  if (folder.empty()) return std::nullopt;
  FileDescriptor file(open((folder + "/" + kFileName).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
  if (!file.valid()) return std::nullopt;
  char text[kLongestFile + 1];
  ssize_t got = read(file.get(), text, sizeof text);
  if (got <= 0 || static_cast<std::size_t>(got) > kLongestFile) return std::nullopt;
  std::optional<ScreenRect> stored = parse({text, static_cast<std::size_t>(got)});
  if (!stored || stored->empty()) return std::nullopt;
  bool fits = stored->x >= screen.x && stored->y >= screen.y && stored->right() <= screen.right() &&
              stored->bottom() <= screen.bottom();
  return fits ? stored : std::nullopt;
}

std::string saveLastSelection(ScreenRect selection) {
  std::string folder = stateFolder();
  if (folder.empty()) return "cannot keep the selection: neither XDG_STATE_HOME nor HOME is set";
  auto failed = [&](const char* what) {
    return "cannot keep the selection in " + folder + ": " + what + ": " + std::strerror(errno);
  };
  if (!makeFolders(folder)) return failed("making the folder");
  std::string temporary = folder + "/." + kFileName + "-XXXXXX";
  FileDescriptor file(mkostemp(temporary.data(), O_CLOEXEC));
  if (!file.valid()) return failed("creating a file");
  std::string text = std::to_string(selection.x) + " " + std::to_string(selection.y) + " " +
                     std::to_string(selection.width) + " " + std::to_string(selection.height) +
                     "\n";
  bool written = writeAll(file.get(), text) && file.reset();
  if (!written || rename(temporary.c_str(), (folder + "/" + kFileName).c_str()) != 0) {
    std::string problem = failed("writing");
    unlink(temporary.c_str());
    return problem;
  }
  return {};
}
