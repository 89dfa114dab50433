#include "prefs/login_agent.h"

#include "platform/files.h"
#include "platform/program_location.h"
#include "platform/utf.h"

namespace {

// An argument of an Exec line, quoted as desktop entries require: inside double quotes the
// characters " ` $ and \ take a backslash, % is doubled (a lone one starts a field code), and
// then every backslash is doubled once more, since the value is read as a string first.
std::string QuotedExecArgument(std::string_view word) {
  std::string quoted = "\"";
  for (char c : word) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += '"';
  std::string escaped;
  for (char c : quoted) {
    if (c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

bool ValidUtf8(std::string_view text) {
  return Utf16ToUtf8(Utf8ToUtf16(text)) == text;
}

}  // namespace

std::string AutostartEntryPath() {
  const std::string config = ConfigFolder();
  return config.empty() ? std::string() : config + "autostart/vantorshot.desktop";
}

std::optional<std::string> AutostartEntryText(std::string_view program) {
  if (program.empty() || !ValidUtf8(program)) return std::nullopt;
  for (unsigned char c : program) {
    if (c < 0x20 || c == 0x7F) return std::nullopt;
  }
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Vantor Shot II\n"
         "Comment=Screenshot utility in the system tray\n"
         "Exec=" +
         QuotedExecArgument(program) +
         "\n"
         "Icon=vantorshot\n"
         "Terminal=false\n"
         "X-GNOME-Autostart-enabled=true\n";
}

bool ApplyLoginAgent(bool on) {
  const std::string entry = AutostartEntryPath();
  if (entry.empty()) return false;
  if (!on) return RemoveFile(entry);
  const std::optional<std::string> text = AutostartEntryText(ExecutablePath());
  const std::string folder = entry.substr(0, entry.find_last_of('/') + 1);
  return text && CreateFolder(folder) && WriteFileWhole(entry, *text);
}
