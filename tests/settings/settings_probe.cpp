// A second start of the program's settings, in a process of its own.
//   show        open the store as start-up does and print the record, NUL-separated
//   churn N     rewrite DirPath with N letters "a" and N letters "b" in turn until killed,
//               writing one byte to standard output after the first write

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/settings_record.h"
#include "settings/settings_store.h"

namespace {

void Print(std::string_view name, const std::string& value) {
  std::fwrite(name.data(), 1, name.size(), stdout);
  std::fputc('=', stdout);
  std::fwrite(value.data(), 1, value.size(), stdout);
  std::fputc('\0', stdout);
}

void Print(std::string_view name, std::int64_t value) { Print(name, std::to_string(value)); }

int Show() {
  OpenSettingsStore();
  Print("TimerIndex", Settings.TimerIndex);
  Print("TimerSeconds", Settings.TimerSeconds);
  Print("FormatIndex", Settings.FormatIndex);
  Print("FormatOption", Settings.FormatOption);
  Print("FileExtension", Settings.FileExtension);
  Print("MenuIcon", Settings.MenuIcon);
  Print("SoundOn", Settings.SoundOn);
  Print("ShadowOn", Settings.ShadowOn);
  Print("MouseOn", Settings.MouseOn);
  Print("ClipboardOn", Settings.ClipboardOn);
  Print("PreviewOn", Settings.PreviewOn);
  Print("Login", Settings.Login);
  Print("SoundOption", Settings.SoundOption);
  Print("ShadowOption", Settings.ShadowOption);
  Print("PointerOption", Settings.PointerOption);
  Print("ClipboardOption", Settings.ClipboardOption);
  Print("PreviewOption", Settings.PreviewOption);
  Print("ShortKey1", Settings.ShortKey1);
  Print("ShortKey2", Settings.ShortKey2);
  Print("ShortKey3", Settings.ShortKey3);
  Print("ShortKey4", Settings.ShortKey4);
  Print("DirPath", Settings.DirPath);
  Print("DisplayPath", Settings.DisplayPath);
  Print("LastSavePath", Settings.LastSavePath);
  CloseSettingsStore();
  return std::fflush(stdout) == 0 ? 0 : 1;
}

[[noreturn]] void Churn(std::size_t length) {
  OpenSettingsStore();
  const std::string first(length, 'a');
  const std::string second(length, 'b');
  WriteSetting("DirPath", first);
  const char ready = 'r';
  if (write(STDOUT_FILENO, &ready, 1) != 1) std::_Exit(1);
  for (;;) {
    WriteSetting("DirPath", second);
    WriteSetting("DirPath", first);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view mode = argc > 1 ? argv[1] : "";
  if (mode == "show") return Show();
  if (mode == "churn" && argc > 2) Churn(std::strtoul(argv[2], nullptr, 10));
  return 2;
}
