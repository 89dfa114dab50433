#include "platform/process_opener.h"

std::string OpenerProgram() {
  return "xdg-open";
}
