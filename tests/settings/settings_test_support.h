#pragma once

// Real files for the settings tests: a reader of the stored keys and the probe program that plays
// a second start of the program.

#include <gtest/gtest.h>
#include <sys/types.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/temporary_home.h"

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FileDescriptor& operator=(FileDescriptor&&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// The keys of the [General] section of an INI file with their raw value text.
std::map<std::string, std::string> GeneralSection(const std::string& text);

// A running probe program with its standard output.
struct ProbeProcess {
  pid_t pid = -1;
  FileDescriptor output;
};
ProbeProcess StartProbe(const std::vector<std::string>& arguments);
// Reads the probe's output to its end and waits for it; the output of "show" split into fields.
std::map<std::string, std::string> ShowRecordInProbe();

// Each test starts with an empty record in a fresh home and leaves the store closed.
class SettingsFilesTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::filesystem::path SettingsFile() const;

  TemporaryHome temporary;
};
