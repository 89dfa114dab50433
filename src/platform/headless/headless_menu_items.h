#pragma once

// Helpers the two halves of the headless desktop share.

#include "platform/headless/headless_objects.h"

namespace headless {

// The item numbered `item` in the menu or its submenus, or null.
MenuItem* FindItemIn(Menu& menu, std::int64_t item);

}  // namespace headless
