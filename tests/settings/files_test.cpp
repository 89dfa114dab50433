#include "platform/files.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include "platform/user_defaults.h"
#include "settings/settings_test_support.h"
#include "support/scoped_environment.h"

namespace {

namespace fs = std::filesystem;

TEST(HomeFolder, EndsInSlashWhetherOrNotHomeDoes) {
  ScopedEnvironment home("HOME");
  home.Set("/srv/people/ann");
  EXPECT_EQ(HomeFolder(), "/srv/people/ann/");
  home.Set("/srv/people/ann/");
  EXPECT_EQ(HomeFolder(), "/srv/people/ann/");
}

TEST(HomeFolder, FallsBackToTheAccountWithoutHome) {
  const passwd* account = getpwuid(getuid());
  ASSERT_NE(account, nullptr);
  std::string expected = account->pw_dir;
  if (expected.back() != '/') expected += '/';

  ScopedEnvironment home("HOME");
  home.Unset();
  EXPECT_EQ(HomeFolder(), expected);
  home.Set("");
  EXPECT_EQ(HomeFolder(), expected);
}

TEST(ConfigFolder, IsTheXdgFolderWhenAbsoluteElseDotConfig) {
  TemporaryHome temporary;
  const std::string home = temporary.home.string() + "/";
  EXPECT_EQ(ConfigFolder(), temporary.config.string() + "/");
  EXPECT_EQ(UserDefaultsFilePath(), temporary.config.string() + "/vantorshot/VantorShot.ini");

  temporary.configVariable.Set("relative/config");
  EXPECT_EQ(ConfigFolder(), home + ".config/");
  temporary.configVariable.Unset();
  EXPECT_EQ(ConfigFolder(), home + ".config/");
  EXPECT_EQ(UserDefaultsFilePath(), home + ".config/vantorshot/VantorShot.ini");
}

class DocumentsFolderTest : public ::testing::Test {
 protected:
  void WriteUserDirs(const std::string& lines) {
    WriteWholeFile(temporary.config / "user-dirs.dirs", lines);
  }
  std::string Home() const { return temporary.home.string() + "/"; }

  TemporaryHome temporary;
};

TEST_F(DocumentsFolderTest, IsHomeDocumentsWhenTheDesktopNamesNoneAndIsNotCreated) {
  EXPECT_EQ(DocumentsFolder(), Home() + "Documents/");
  EXPECT_FALSE(fs::exists(temporary.home / "Documents"));

  WriteUserDirs("XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n");
  EXPECT_EQ(DocumentsFolder(), Home() + "Documents/");
}

TEST_F(DocumentsFolderTest, FollowsTheDesktopsUserDirs) {
  WriteUserDirs(
      "# written by the desktop\n"
      "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
      "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
  EXPECT_EQ(DocumentsFolder(), Home() + "Dokumente/");

  WriteUserDirs("XDG_DOCUMENTS_DIR=\"/srv/shared docs\"\n");
  EXPECT_EQ(DocumentsFolder(), "/srv/shared docs/");

  WriteUserDirs("XDG_DOCUMENTS_DIR=\"$HOME/My \\\"Papers\\\" \\$x\"\n");
  EXPECT_EQ(DocumentsFolder(), Home() + "My \"Papers\" $x/");

  WriteUserDirs("XDG_DOCUMENTS_DIR=\"$HOME\"\n");
  EXPECT_EQ(DocumentsFolder(), Home());
}

TEST_F(DocumentsFolderTest, IgnoresLinesThatNameNoFolder) {
  WriteUserDirs(
      "#XDG_DOCUMENTS_DIR=\"/commented\"\n"
      "XDG_DOCUMENTS_DIR=\"relative/docs\"\n"
      "XDG_DOCUMENTS_DIR=\"$HOMEWORK/docs\"\n"
      "XDG_DOCUMENTS_DIR=\"/unterminated\n"
      "XDG_DOCUMENTS_DIR=/unquoted\n");
  EXPECT_EQ(DocumentsFolder(), Home() + "Documents/");

  WriteUserDirs("XDG_DOCUMENTS_DIR=\"/first\"\n  XDG_DOCUMENTS_DIR=\"/second\"\n");
  EXPECT_EQ(DocumentsFolder(), "/second/");
}

TEST(PathSize, TellsMissingFolderAndFileSize) {
  TemporaryHome temporary;
  const fs::path file = temporary.root / "five";
  WriteWholeFile(file, "12345");
  WriteWholeFile(temporary.root / "empty", "");
  fs::create_directory_symlink(temporary.home, temporary.root / "link");

  EXPECT_EQ(PathSize(file.string()), 5);
  EXPECT_EQ(PathSize((temporary.root / "empty").string()), 0);
  EXPECT_EQ(PathSize(temporary.home.string()), PathIsFolder);
  EXPECT_EQ(PathSize((temporary.root / "link").string()), PathIsFolder);
  EXPECT_EQ(PathSize((temporary.root / "missing").string()), PathCannotBeExamined);
  EXPECT_EQ(PathSize((file / "below").string()), PathCannotBeExamined);
  EXPECT_EQ(PathSize(""), PathCannotBeExamined);
}

}  // namespace
