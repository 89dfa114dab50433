#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/user_defaults.h"
#include "support/scoped_environment.h"
#include "support/scratch_folder.h"
#include "support/temporary_home.h"

namespace {

namespace fs = std::filesystem;

std::optional<std::string> Variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::nullopt : std::optional<std::string>(value);
}

TEST(ScopedEnvironment, PutsBackAnAbsentAnEmptyAndASetVariableAsTheyWere) {
  unsetenv("VANTORSHOT_TEST_ABSENT");
  setenv("VANTORSHOT_TEST_EMPTY", "", 1);
  setenv("VANTORSHOT_TEST_SET", "before", 1);
  {
    const ScopedEnvironment absent("VANTORSHOT_TEST_ABSENT", "now");
    ScopedEnvironment empty("VANTORSHOT_TEST_EMPTY");
    empty.Unset();
    ScopedEnvironment set("VANTORSHOT_TEST_SET", "");
    EXPECT_EQ(Variable("VANTORSHOT_TEST_ABSENT"), "now");
    EXPECT_EQ(Variable("VANTORSHOT_TEST_EMPTY"), std::nullopt);
    EXPECT_EQ(Variable("VANTORSHOT_TEST_SET"), "") << "an empty value is set, not removed";
    {
      const ScopedEnvironment inner("VANTORSHOT_TEST_SET", "inner");
      EXPECT_EQ(Variable("VANTORSHOT_TEST_SET"), "inner");
    }
    EXPECT_EQ(Variable("VANTORSHOT_TEST_SET"), "");
  }
  EXPECT_EQ(Variable("VANTORSHOT_TEST_ABSENT"), std::nullopt);
  EXPECT_EQ(Variable("VANTORSHOT_TEST_EMPTY"), "");
  EXPECT_EQ(Variable("VANTORSHOT_TEST_SET"), "before");
  unsetenv("VANTORSHOT_TEST_EMPTY");
  unsetenv("VANTORSHOT_TEST_SET");
}

TEST(ScratchFolder, WritesFilesWithTheirModeAndReadsThemBackByteForByte) {
  ScratchFolder folder;
  ASSERT_TRUE(folder.Path().ends_with("/"));
  const std::string script = folder.WriteFile("bin/deep/tool", "#!/bin/sh\r\n\nexit 0", 0755);
  EXPECT_EQ(script, folder.Path() + "bin/deep/tool");
  struct stat status {};
  ASSERT_EQ(stat(script.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0755u);
  EXPECT_EQ(ReadWholeFile(script), "#!/bin/sh\r\n\nexit 0");
  EXPECT_EQ(ReadLines(script), (std::vector<std::string>{"#!/bin/sh\r", "", "exit 0"}));

  folder.WriteFile("bin/deep/tool", "short");
  EXPECT_EQ(ReadWholeFile(script), "short") << "a second write replaces the whole file";
  EXPECT_EQ(ReadWholeFile(folder.Path() + "missing"), "");
  EXPECT_TRUE(ReadLines(folder.Path() + "missing").empty());
  EXPECT_THROW(WriteWholeFile(script + "/below", "x"), std::exception) << "a file is no folder";

  const std::string made = folder.MakeFolder("a b/c");
  EXPECT_EQ(made, folder.Path() + "a b/c/");
  EXPECT_TRUE(fs::is_directory(made));
}

TEST(ScratchFolder, GoesWithEverythingInItEvenBehindReadOnlyFolders) {
  std::string path;
  {
    ScratchFolder folder;
    path = folder.Path();
    folder.WriteFile("locked/inner/file", "text");
    fs::permissions(path + "locked/inner", fs::perms::owner_read | fs::perms::owner_exec);
    fs::permissions(path + "locked", fs::perms::owner_read | fs::perms::owner_exec);
  }
  EXPECT_FALSE(fs::exists(path));
}

TEST(TemporaryHome, NamesItsFoldersWhileItLivesAndWritesSettingsWhereTheProgramReadsThem) {
  const std::optional<std::string> home = Variable("HOME");
  const std::optional<std::string> config = Variable("XDG_CONFIG_HOME");
  std::string root;
  {
    const TemporaryHome temporary;
    root = temporary.root.string();
    EXPECT_EQ(Variable("HOME"), temporary.home.string());
    EXPECT_EQ(Variable("XDG_CONFIG_HOME"), temporary.config.string());
    EXPECT_TRUE(fs::is_directory(temporary.home));
    EXPECT_TRUE(fs::is_directory(temporary.config));

    temporary.WriteSettings("Timer=2\n");
    EXPECT_EQ(temporary.SettingsFile(), fs::path(UserDefaultsFilePath()));
    EXPECT_EQ(ReadWholeFile(UserDefaultsFilePath()), "[General]\nTimer=2\n");
  }
  EXPECT_EQ(Variable("HOME"), home);
  EXPECT_EQ(Variable("XDG_CONFIG_HOME"), config);
  EXPECT_FALSE(fs::exists(root));
}

}  // namespace
