#pragma once

#include <string>
#include <vector>

// A temporary folder that is removed with everything in it when the test ends.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // Ends in "/".
  const std::string& Path() const { return path_; }
  // Writes a file (mode 0755 for scripts) and returns its path.
  std::string WriteFile(const std::string& name, const std::string& text, unsigned mode = 0644);

 private:
  std::string path_;
};

std::string ReadWholeFile(const std::string& path);
std::vector<std::string> ReadLines(const std::string& path);
