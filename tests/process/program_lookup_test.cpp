#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "platform/process_lookup.h"
#include "support/scoped_environment.h"
#include "support/scratch_folder.h"

namespace {

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
  const ScopedEnvironment path("PATH", folder.Path() + "bin");
  EXPECT_TRUE(ProgramFound("mytool"));
  EXPECT_FALSE(ProgramFound("./mytool")) << "not in the current folder, and never searched";
}

TEST_F(ProgramLookupTest, SearchesPathInOrderSkippingEmptyElements) {
  folder.WriteFile("a/shared", "", 0755);  // empty: not a hit, the search goes on
  folder.WriteFile("b/shared", "#!/bin/sh\n", 0755);
  const std::string list = "::" + folder.Path() + "a:" + folder.Path() + "b/:";
  const ScopedEnvironment path("PATH", list);
  EXPECT_TRUE(ProgramFound("shared"));
  EXPECT_FALSE(ProgramFound("sh")) << "not on this PATH";
}

TEST_F(ProgramLookupTest, AMissingPathFindsNoPlainName) {
  ScopedEnvironment path("PATH");
  path.Unset();
  EXPECT_FALSE(ProgramFound("sh"));
  EXPECT_TRUE(ProgramFound("/bin/sh"));
}

}  // namespace
