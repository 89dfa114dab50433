#pragma once

#include <string>
#include <vector>

#include "capture/capture_fixture.h"
#include "platform/key_press.h"

// A capture fixture whose desktop is scripted for the countdown and the display picker.
class CountdownTest : public CaptureTest {
 protected:
  // Text of a gadget as a person reads it, or "(none)" when it is not there.
  std::string TextOf(std::int64_t gadget) const;
  // Lets a second pass on every running timer and then runs `look`, in the same moment.
  template <typename Look>
  void PushTickThen(Look look) {
    platform.toolkit.PushSystemEvent([this, look] {
      for (std::int64_t timer : platform.toolkit.RunningTimers()) TimerFired(timer);
      look();
    });
  }
  void PushLook(std::function<void()> look) { platform.toolkit.PushSystemEvent(std::move(look)); }

  static KeyPress Escape();
  static KeyPress Return();
};
