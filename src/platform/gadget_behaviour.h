#pragma once

// Gadget kinds whose behaviour lives above the toolkit (the shortcut field) attach an object
// that takes over the state operations; freeing the gadget destroys it.

#include <cstdint>
#include <memory>

#include "platform/native_toolkit.h"

class LxGadgetFunctions {
 public:
  virtual ~LxGadgetFunctions() = default;
  virtual void SetGadgetState(std::int64_t state) = 0;
  virtual std::int64_t GetGadgetState() = 0;
};

// Creates a gadget of `spec.kind` in the current window driven by `behaviour`; returns the
// number (the chosen one for AutoNumber), or 0 when there is no current window.
std::int64_t NewBehaviourGadget(std::int64_t number, const GadgetSpec& spec,
                                std::unique_ptr<LxGadgetFunctions> behaviour);
