#pragma once

#include <stdlib.h>

#include <optional>
#include <stdexcept>
#include <string>

// One environment variable changed for the life of the object; its old value, or its absence,
// comes back at the end.
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(std::string name) : name_(std::move(name)) {
    if (const char* value = getenv(name_.c_str())) saved_ = value;
  }
  ScopedEnvironment(std::string name, const std::string& value)
      : ScopedEnvironment(std::move(name)) {
    Set(value);
  }
  ~ScopedEnvironment() {
    if (saved_) setenv(name_.c_str(), saved_->c_str(), 1);
    if (!saved_) unsetenv(name_.c_str());
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  void Set(const std::string& value) {
    if (setenv(name_.c_str(), value.c_str(), 1) != 0) throw std::runtime_error("setenv " + name_);
  }
  void Unset() { unsetenv(name_.c_str()); }

 private:
  std::string name_;
  std::optional<std::string> saved_;
};
