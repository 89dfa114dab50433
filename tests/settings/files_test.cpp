#include "platform/files.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include "platform/user_defaults.h"
#include "support/support.h"

namespace {

namespace fs = std::filesystem;

TEST(UserFolders, HomeEndsInSlashAndFallsBackToTheAccount) {
  const passwd* account = getpwuid(getuid());
  ASSERT_NE(account, nullptr);
  const std::string own = account->pw_dir + std::string(account->pw_dir[1] == 0 ? "" : "/");
  ScopedEnvironment home("HOME");
  for (const auto& [value, folder] : {std::pair<const char*, std::string>{"/srv/ann", "/srv/ann/"},
                                      {"/srv/ann/", "/srv/ann/"},
                                      {"", own}}) {
    home.Set(value);
    EXPECT_EQ(HomeFolder(), folder) << value;
  }
  home.Unset();
  EXPECT_EQ(HomeFolder(), own);
}

TEST(UserFolders, ConfigIsTheXdgFolderWhenAbsoluteElseDotConfig) {
  TemporaryHome temporary;
  const std::string home = temporary.home.string() + "/";
  EXPECT_EQ(ConfigFolder(), temporary.config.string() + "/");
  EXPECT_EQ(UserDefaultsFilePath(), temporary.config.string() + "/vantorshot/VantorShot.ini");
  temporary.configVariable.Set("relative/config");
  EXPECT_EQ(ConfigFolder(), home + ".config/");
  temporary.configVariable.Unset();
  EXPECT_EQ(UserDefaultsFilePath(), home + ".config/vantorshot/VantorShot.ini");
}

TEST(UserFolders, DocumentsFollowTheLastValidLineOfTheDesktopsUserDirs) {
  TemporaryHome temporary;
  const std::string home = temporary.home.string() + "/";
  const std::pair<const char*, std::string> cases[] = {
      {"", home + "Documents/"},
      {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n", home + "Documents/"},
      {"# desktop\nXDG_DESKTOP_DIR=\"$HOME/Bureau\"\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n",
       home + "Dokumente/"},
      {"XDG_DOCUMENTS_DIR=\"/srv/shared docs\"\n", "/srv/shared docs/"},
      {"XDG_DOCUMENTS_DIR=\"$HOME/My \\\"Papers\\\" \\$x\"\n", home + "My \"Papers\" $x/"},
      {"XDG_DOCUMENTS_DIR=\"$HOME\"\n", home},
      {"XDG_DOCUMENTS_DIR=\"/first\"\n  XDG_DOCUMENTS_DIR=\"/second\"\n", "/second/"},
      {"#XDG_DOCUMENTS_DIR=\"/commented\"\nXDG_DOCUMENTS_DIR=\"relative/docs\"\n"
       "XDG_DOCUMENTS_DIR=\"$HOMEWORK/docs\"\nXDG_DOCUMENTS_DIR=\"/unterminated\n"
       "XDG_DOCUMENTS_DIR=/unquoted\n",
       home + "Documents/"},
  };
  for (const auto& [lines, folder] : cases) {
    WriteWholeFile(temporary.config / "user-dirs.dirs", lines);
    EXPECT_EQ(DocumentsFolder(), folder) << lines;
  }
  EXPECT_FALSE(fs::exists(temporary.home / "Documents")) << "nothing is created";
}

TEST(PathSize, TellsMissingFolderAndFileSize) {
  TemporaryHome temporary;
  const fs::path file = temporary.root / "five";
  WriteWholeFile(file, "12345");
  WriteWholeFile(temporary.root / "empty", "");
  fs::create_directory_symlink(temporary.home, temporary.root / "link");
  const std::pair<fs::path, std::int64_t> cases[] = {
      {file, 5},
      {temporary.root / "empty", 0},
      {temporary.home, PathIsFolder},
      {temporary.root / "link", PathIsFolder},
      {temporary.root / "missing", PathCannotBeExamined},
      {file / "below", PathCannotBeExamined},
      {"", PathCannotBeExamined}};
  for (const auto& [path, size] : cases) EXPECT_EQ(PathSize(path.string()), size) << path;
  EXPECT_TRUE(CreateFolder((temporary.root / "a/b/c").string()));
  EXPECT_TRUE(fs::is_directory(temporary.root / "a/b/c"));
  EXPECT_FALSE(CreateFolder((file / "below").string()));
  EXPECT_FALSE(CreateFolder(""));
}

}  // namespace
