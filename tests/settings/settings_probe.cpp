// A second start of the program's settings, in a process of its own.
//   show        open the store as start-up does and print the record's fields, NUL-ended
//   churn N     rewrite DirPath with N letters "a" and N letters "b" in turn until killed,
//               writing one byte to standard output after the first write

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "settings/settings_test_support.h"

int main(int argc, char** argv) {
  const std::string_view mode = argc > 1 ? argv[1] : "";
  if (mode == "show") {
    OpenSettingsStore();
    for (const auto& [name, value] : RecordFields()) {
      const std::string field = name + "=" + value;
      std::fwrite(field.c_str(), 1, field.size() + 1, stdout);
    }
    CloseSettingsStore();
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (mode != "churn" || argc < 3) return 2;
  OpenSettingsStore();
  const std::string first(std::strtoul(argv[2], nullptr, 10), 'a');
  const std::string second(first.size(), 'b');
  WriteSetting("DirPath", first);
  if (write(STDOUT_FILENO, "r", 1) != 1) return 1;
  for (;;) {
    WriteSetting("DirPath", second);
    WriteSetting("DirPath", first);
  }
}
