#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "support/scoped_environment.h"
#include "support/scratch_folder.h"
#include "support/temporary_home.h"

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
  // Lets the desktop fire every running timer once, as the seconds pass.
  void PushTimerTicks(int count);

  TemporaryHome temporary;
  ScratchFolder& scratch = temporary.scratch;
  std::string documents = scratch.MakeFolder("home/Documents");
  headless::Platform platform;
  std::string toolRecord = scratch.Path() + "tool-words";
  std::string toolRuns = scratch.Path() + "tool-runs";
  std::string dateCalls = scratch.Path() + "date-calls";
  std::string stampFile = scratch.Path() + "stamp";
  ScopedEnvironment toolVariable{"VANTORSHOT_CAPTURE_TOOL", scratch.Path() + "bin/tool"};
  ScopedEnvironment dateVariable{"VANTORSHOT_DATE_PROGRAM", scratch.Path() + "bin/date"};
};
