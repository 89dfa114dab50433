#include "app/open_in_editor.h"

#include <cstdio>
#include <vector>

#include "platform/files.h"
#include "platform/process.h"
#include "platform/program_location.h"
#include "platform/readable_file.h"

int OpenInEditor(const std::string& how, const std::string& file) {
  std::string why;
  const std::optional<std::string> path = ReadableFile(file, why);
  if (!path) {
    std::fprintf(stderr, "vantorshot: cannot read %s: %s\n", file.c_str(), why.c_str());
    return 2;
  }
  const std::string editor = ProgramFolder() + "vantorshot-edit";
  if (PathSize(editor) < 0) {
    std::fprintf(stderr, "vantorshot: the editor %s is not installed\n", editor.c_str());
    return 2;
  }
  std::vector<std::string> words;
  if (how == "pin") words.emplace_back("--pin");
  words.push_back(*path);
  if (!StartProcessWords(editor, words, "", 0)) {
    std::fprintf(stderr, "vantorshot: cannot start %s\n", editor.c_str());
    return 2;
  }
  return 0;
}
