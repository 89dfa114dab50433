#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/single_instance.h"
#include "support/scoped_environment.h"
#include "support/scratch_folder.h"

namespace {

TEST(SingleInstance, EveryNameOfOneDisplayIsOneLock) {
  ScratchFolder runtime;
  chmod(runtime.Path().c_str(), 0700);
  ScopedEnvironment variable("XDG_RUNTIME_DIR", runtime.Path());
  for (const char* same : {":203", ":203.0", "unix:203", "unix:203.1"}) {
    EXPECT_EQ(CanonicalDisplay(same), ":203") << same;
  }
  EXPECT_EQ(CanonicalDisplay("remote:10.0"), "remote:10");
  ScopedEnvironment display("DISPLAY", ":203");
  const SingleInstanceLock first;
  ASSERT_EQ(first.Status(), SingleInstanceLock::State::Held);
  EXPECT_EQ(first.Where(), runtime.Path() + "vantorshot-:203.lock");
  EXPECT_EQ(first.SocketPath(), runtime.Path() + "vantorshot-:203.socket");
  for (const char* same : {":203.0", "unix:203"}) {
    display.Set(same);
    EXPECT_EQ(SingleInstanceLock().Status(), SingleInstanceLock::State::HeldElsewhere) << same;
  }
  display.Set(":204");
  EXPECT_EQ(SingleInstanceLock().Status(), SingleInstanceLock::State::Held);
}

TEST(SingleInstance, ALockOthersCouldWriteIsNotTrusted) {
  ScratchFolder runtime;
  chmod(runtime.Path().c_str(), 0777);
  ScopedEnvironment variable("XDG_RUNTIME_DIR", runtime.Path());
  ScopedEnvironment display("DISPLAY", ":205");
  const SingleInstanceLock lock;
  EXPECT_EQ(lock.Where().rfind("/tmp/vantorshot-" + std::to_string(getuid()) + "/", 0), 0u)
      << "a runtime folder others can write is passed over";
  ScopedEnvironment unset("XDG_RUNTIME_DIR");
  unset.Unset();
  const std::string own = "/tmp/vantorshot-" + std::to_string(getuid());
  struct stat info {};
  ASSERT_EQ(stat(own.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  if (getuid() == 0) {
    // Someone else took the folder first: no lock, and no copy runs unguarded.
    ASSERT_EQ(chown(own.c_str(), 65534, 65534), 0);
    EXPECT_EQ(SingleInstanceLock().Status(), SingleInstanceLock::State::Unavailable);
    ASSERT_EQ(chown(own.c_str(), 0, 0), 0);
  }
}

}  // namespace
