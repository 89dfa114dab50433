#pragma once

#include <string_view>
#include <utility>

// Owns one file descriptor and closes it on every path.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { reset(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int release() { return std::exchange(fd_, -1); }
  // Closes the one held now; false when closing reported an error (a write that failed late).
  bool reset(int fd = -1);

 private:
  int fd_;
};

// Writes all of `bytes`, resuming after interruptions and short writes. False on an error, with
// errno telling which.
bool writeAll(int fd, std::string_view bytes);
