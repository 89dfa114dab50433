#include "platform/host.h"

namespace {
Host* installed = nullptr;
}

void InstallHost(Host* host) {
  installed = host;
}
Host* InstalledHost() {
  return installed;
}
