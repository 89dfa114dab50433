#pragma once

#include <optional>
#include <string>

// One environment variable changed for the life of the object; its old value, or its absence,
// comes back at the end.
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(std::string name);
  ScopedEnvironment(std::string name, const std::string& value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  void Set(const std::string& value);
  void Unset();

 private:
  std::string name_;
  std::optional<std::string> saved_;
};
