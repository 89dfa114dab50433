#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/process_lookup.h"
#include "process/scratch_folder.h"

namespace {

// Sets PATH for one test and puts the old value back afterwards.
class PathOverride {
 public:
  explicit PathOverride(const char* value) {
    if (const char* old = std::getenv("PATH")) old_ = old;
    if (value == nullptr) {
      unsetenv("PATH");
    } else {
      setenv("PATH", value, 1);
    }
  }
  ~PathOverride() {
    if (old_) {
      setenv("PATH", old_->c_str(), 1);
    } else {
      unsetenv("PATH");
    }
  }

 private:
  std::optional<std::string> old_;
};

class ProgramLookupTest : public ::testing::Test {
 protected:
  ScratchFolder folder;
};

TEST_F(ProgramLookupTest, PathsNeedANonEmptyExecutableFile) {
  EXPECT_TRUE(ProgramFound("/bin/sh"));
  EXPECT_TRUE(ProgramFound(folder.WriteFile("tool", "#!/bin/sh\n", 0755)));
  EXPECT_FALSE(ProgramFound(folder.WriteFile("empty", "", 0755)));
  EXPECT_FALSE(ProgramFound(folder.WriteFile("plain", "#!/bin/sh\n", 0644)));
  EXPECT_FALSE(ProgramFound(folder.Path()));
  EXPECT_FALSE(ProgramFound(folder.Path() + "missing"));
  EXPECT_FALSE(ProgramFound(""));
}

TEST_F(ProgramLookupTest, RelativeDotSlashNamesAreNotSearched) {
  folder.WriteFile("bin/mytool", "#!/bin/sh\n", 0755);
  const PathOverride path((folder.Path() + "bin").c_str());
  EXPECT_TRUE(ProgramFound("mytool"));
  EXPECT_FALSE(ProgramFound("./mytool")) << "not in the current folder, and never searched";
}

TEST_F(ProgramLookupTest, SearchesPathInOrderSkippingEmptyElements) {
  folder.WriteFile("a/shared", "", 0755);  // empty: not a hit, the search goes on
  folder.WriteFile("b/shared", "#!/bin/sh\n", 0755);
  const std::string list = "::" + folder.Path() + "a:" + folder.Path() + "b/:";
  const PathOverride path(list.c_str());
  EXPECT_TRUE(ProgramFound("shared"));
  EXPECT_FALSE(ProgramFound("sh")) << "not on this PATH";
}

TEST_F(ProgramLookupTest, AMissingPathFindsNoPlainName) {
  const PathOverride path(nullptr);
  EXPECT_FALSE(ProgramFound("sh"));
  EXPECT_TRUE(ProgramFound("/bin/sh"));
}

}  // namespace
