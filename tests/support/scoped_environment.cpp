#include "support/scoped_environment.h"

#include <stdlib.h>

#include <stdexcept>
#include <utility>

ScopedEnvironment::ScopedEnvironment(std::string name) : name_(std::move(name)) {
  if (const char* value = getenv(name_.c_str())) saved_ = value;
}

ScopedEnvironment::ScopedEnvironment(std::string name, const std::string& value)
    : ScopedEnvironment(std::move(name)) {
  Set(value);
}

ScopedEnvironment::~ScopedEnvironment() {
  if (saved_) {
    setenv(name_.c_str(), saved_->c_str(), 1);
  } else {
    unsetenv(name_.c_str());
  }
}

void ScopedEnvironment::Set(const std::string& value) {
  if (setenv(name_.c_str(), value.c_str(), 1) != 0) throw std::runtime_error("cannot set " + name_);
}

void ScopedEnvironment::Unset() {
  unsetenv(name_.c_str());
}
