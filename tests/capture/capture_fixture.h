#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "capture/capture_engine.h"
#include "platform/headless/headless_platform.h"
#include "platform/native_toolkit.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "support/support.h"

using Words = std::vector<std::string>;

// A headless desktop and a temporary home with a first-run settings store. On PATH: a date
// program that prints a chosen stamp and records its calls, a capture tool that records its
// words one a line and creates the file it is asked for, and an opener that records its words.
class CaptureTest : public ::testing::Test {
 protected:
  CaptureTest() {
    WriteWholeFile(bin + "tool",
                   "#!/bin/sh\nprintf '%s\\n' \"$@\" > " + bin + "tool-words\n" + "echo run >> " +
                       bin + "tool-runs\necho 'talk on stdout'\n" +
                       "for last; do :; done\n: > \"$last\"\n",
                   0755);
    WriteWholeFile(bin + "date",
                   "#!/bin/sh\necho \"$*\" >> " + bin + "date-calls\ncat " + bin + "stamp\n", 0755);
    WriteWholeFile(bin + "xdg-open",
                   "#!/bin/sh\nprintf '%s\\n' \"$@\" > " + bin + "opened.tmp\nmv " + bin +
                       "opened.tmp " + bin + "opened\n",
                   0755);
    SetStamp("2024-04-05-023015");
    Settings = SettingsRecord{};
    DisplayOption.clear();
    OpenSettingsStore();
  }
  ~CaptureTest() override { CloseSettingsStore(); }

  // The words of the tool's latest run; empty when it has not run.
  Words ToolWords() const { return ReadLines(bin + "tool-words"); }
  int ToolRuns() const { return static_cast<int>(ReadLines(bin + "tool-runs").size()); }
  Words DateCalls() const { return ReadLines(bin + "date-calls"); }
  // The opener's words, awaited: it runs detached.
  Words OpenerWords() const {
    for (int i = 0; i < 500 && ReadLines(bin + "opened").empty(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return ReadLines(bin + "opened");
  }
  void SetStamp(const std::string& stamp) { WriteWholeFile(bin + "stamp", stamp + "\n"); }
  // The path of a capture of `kind` ("full", "window", "area") with the first stamp.
  static std::string Shot(const std::string& folder, const char* kind, const char* ext = ".png") {
    return folder + "vs_cap_" + kind + "_2024-04-05-023015" + ext;
  }

  // The desktop's script, one system event each: `look` runs as a person looks at the screen;
  // a tick first lets a second pass on every running timer.
  void PushLook(std::function<void()> look) { platform.toolkit.PushSystemEvent(std::move(look)); }
  void PushTick(std::function<void()> look = [] {}) {
    PushLook([this, look] {
      for (std::int64_t timer : platform.toolkit.RunningTimers()) TimerFired(timer);
      look();
    });
  }
  // A gadget's text as a person reads it, or "(none)".
  std::string TextOf(std::int64_t gadget) const {
    const headless::Gadget* g = platform.toolkit.FindGadget(gadget);
    return g == nullptr ? "(none)" : g->text;
  }
  static KeyPress Key(std::uint16_t keyCode, char16_t character) {
    return KeyPress{KeyEventType::KeyDown, -1, 0, keyCode, std::u16string(1, character)};
  }

  TemporaryHome temporary;
  std::string documents = temporary.scratch.MakeFolder("home/Documents");
  std::string bin = temporary.scratch.MakeFolder("bin");
  headless::Platform platform;
  headless::Toolkit& desk = platform.toolkit;
  ScopedEnvironment path{"PATH", bin + ":/usr/bin:/bin"};
  ScopedEnvironment tool{"VANTORSHOT_CAPTURE_TOOL", bin + "tool"};
  ScopedEnvironment date{"VANTORSHOT_DATE_PROGRAM", bin + "date"};
};
