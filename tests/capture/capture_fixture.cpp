#include "capture/capture_fixture.h"

#include "capture/capture_engine.h"
#include "platform/native_toolkit.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"

CaptureTest::CaptureTest() {
  scratch.WriteFile("bin/tool",
                    "#!/bin/sh\n"
                    "printf '%s\\n' \"$@\" > '" +
                        toolRecord +
                        "'\n"
                        "echo run >> '" +
                        toolRuns +
                        "'\n"
                        "echo 'the tool talks on its output'\n"
                        "for last; do :; done\n"
                        ": > \"$last\"\n",
                    0755);
  scratch.WriteFile("bin/date",
                    "#!/bin/sh\n"
                    "echo \"$*\" >> '" +
                        dateCalls +
                        "'\n"
                        "cat '" +
                        stampFile + "'\n",
                    0755);
  SetStamp("2024-04-05-023015");
  Settings = SettingsRecord{};
  DisplayOption.clear();
  OpenSettingsStore();
}

CaptureTest::~CaptureTest() {
  CloseSettingsStore();
}

std::vector<std::string> CaptureTest::ToolWords() const {
  return ReadLines(toolRecord);
}

int CaptureTest::ToolRuns() const {
  return static_cast<int>(ReadLines(toolRuns).size());
}

std::vector<std::string> CaptureTest::DateCalls() const {
  return ReadLines(dateCalls);
}

void CaptureTest::SetStamp(const std::string& stamp) {
  scratch.WriteFile("stamp", stamp + "\n");
}

void CaptureTest::PushTimerTicks(int count) {
  for (int i = 0; i < count; ++i) {
    platform.toolkit.PushSystemEvent([this] {
      for (std::int64_t timer : platform.toolkit.RunningTimers()) TimerFired(timer);
    });
  }
}
