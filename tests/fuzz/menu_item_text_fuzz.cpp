// Menu item texts with their hints, as a settings file can make them.
#include <cstdint>
#include <string_view>

#include "platform/menu_item_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ReadMenuItemText(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
