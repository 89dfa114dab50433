#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "process/scratch_folder.h"

// Sets an environment variable for the life of the object and puts the old value back.
class EnvironmentOverride {
 public:
  EnvironmentOverride(std::string name, const std::string& value);
  ~EnvironmentOverride();
  EnvironmentOverride(const EnvironmentOverride&) = delete;
  EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

 private:
  std::string name_;
  std::optional<std::string> saved_;
};

// A headless desktop, a temporary home with a first-run settings store, a date program that
// prints a chosen stamp, and a recording capture tool that writes its words one a line and
// creates the file it is asked for.
class CaptureTest : public ::testing::Test {
 protected:
  CaptureTest();
  ~CaptureTest() override;

  // The words the tool received in its latest run; empty when it did not run.
  std::vector<std::string> ToolWords() const;
  int ToolRuns() const;
  // Every argument line the date program was called with, one per run.
  std::vector<std::string> DateCalls() const;
  void SetStamp(const std::string& stamp);
  // Makes a folder under the scratch folder and returns it with its trailing "/".
  std::string MakeFolder(const std::string& name);
  // Lets the desktop fire every running timer once, as the seconds pass.
  void PushTimerTicks(int count);

  ScratchFolder scratch;
  std::string home = MakeFolder("home");
  std::string documents = MakeFolder("home/Documents");
  headless::Platform platform;
  EnvironmentOverride homeVariable{"HOME", home};
  EnvironmentOverride configVariable{"XDG_CONFIG_HOME", home + ".config"};
  std::string toolRecord = scratch.Path() + "tool-words";
  std::string toolRuns = scratch.Path() + "tool-runs";
  std::string dateCalls = scratch.Path() + "date-calls";
  std::string stampFile = scratch.Path() + "stamp";
  EnvironmentOverride toolVariable{"VANTORSHOT_CAPTURE_TOOL", scratch.Path() + "bin/tool"};
  EnvironmentOverride dateVariable{"VANTORSHOT_DATE_PROGRAM", scratch.Path() + "bin/date"};
};
