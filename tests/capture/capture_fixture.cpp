#include "capture/capture_fixture.h"

#include <chrono>
#include <thread>

#include "capture/capture_engine.h"
#include "platform/native_toolkit.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"

CaptureTest::CaptureTest() {
  WriteWholeFile(bin + "tool",
                 "#!/bin/sh\nprintf '%s\\n' \"$@\" > " + bin + "tool-words\necho run >> " + bin +
                     "tool-runs\necho 'the tool talks on its output'\n"
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

CaptureTest::~CaptureTest() {
  CloseSettingsStore();
}

Words CaptureTest::OpenerWords() const {
  for (int i = 0; i < 500 && ReadLines(bin + "opened").empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return ReadLines(bin + "opened");
}

void CaptureTest::PushTick(std::function<void()> look) {
  PushLook([this, look] {
    for (std::int64_t timer : platform.toolkit.RunningTimers()) TimerFired(timer);
    look();
  });
}

std::string CaptureTest::TextOf(std::int64_t gadget) const {
  const headless::Gadget* g = platform.toolkit.FindGadget(gadget);
  return g == nullptr ? "(none)" : g->text;
}
