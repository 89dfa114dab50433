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
  // Writes a file below the folder (mode 0755 for scripts) and returns its path.
  std::string WriteFile(const std::string& name, const std::string& text, unsigned mode = 0644);
  // Makes a folder below this one and returns its path, ending in "/".
  std::string MakeFolder(const std::string& name);

 private:
  std::string path_;
};

// Writes a whole file, making the folders above it; throws when it cannot be written.
void WriteWholeFile(const std::string& path, const std::string& text, unsigned mode = 0644);
// The contents of a file, or its lines without their line ends; nothing when it cannot be read.
std::string ReadWholeFile(const std::string& path);
std::vector<std::string> ReadLines(const std::string& path);
