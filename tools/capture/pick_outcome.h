#pragma once

#include "monitors.h"

// How an interactive choice ended. `area` is in root coordinates and only set for Picked.
struct PickOutcome {
  enum class Result { Picked, Cancelled, Failed } result = Result::Failed;
  ScreenRect area;
  const char* problem = "";  // why it failed
};
