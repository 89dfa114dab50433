// A second start of the program's settings, in a process of its own.
//   show        open the store as start-up does and print the record's fields, NUL-ended
//   churn N     rewrite DirPath with N letters "a" and N letters "b" in turn until killed,
//               printing the process id after the first write

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "settings/settings_test_support.h"

int main(int argc, char** argv) {
  const std::string_view mode = argc > 1 ? argv[1] : "";
  OpenSettingsStore();
  if (mode == "show") {
    for (const auto& [name, value] : RecordFields()) {
      const std::string field = name + "=" + value;
      std::fwrite(field.c_str(), 1, field.size() + 1, stdout);
    }
    CloseSettingsStore();
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (mode != "churn" || argc < 3) return 2;
  const std::string first(std::strtoul(argv[2], nullptr, 10), 'a');
  const std::string second(first.size(), 'b');
  WriteSetting("DirPath", first);
  std::printf("%d\n", getpid());
  std::fflush(stdout);
  for (;;) {
    WriteSetting("DirPath", second);
    WriteSetting("DirPath", first);
  }
}
