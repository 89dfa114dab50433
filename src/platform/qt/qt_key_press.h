#pragma once

// Qt key events in the toolkit's terms (virtual key code, modifier flags, characters).

#include <cstdint>

#include "platform/key_press.h"

class QKeyEvent;

// `window` is the number of the toolkit window holding the focus, or -1.
KeyPress KeyPressFromQt(const QKeyEvent& event, std::int64_t window);
