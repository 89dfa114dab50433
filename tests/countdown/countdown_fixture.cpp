#include "countdown/countdown_fixture.h"

#include "capture/countdown_window.h"
#include "platform/native_toolkit.h"

std::string CountdownTest::TextOf(std::int64_t gadget) const {
  const headless::Gadget* g = platform.toolkit.FindGadget(gadget);
  return g == nullptr ? "(none)" : g->text;
}

KeyPress CountdownTest::Escape() {
  return KeyPress{KeyEventType::KeyDown, -1, 0, 53, u"\x1b"};
}

KeyPress CountdownTest::Return() {
  return KeyPress{KeyEventType::KeyDown, -1, 0, 36, u"\r"};
}
