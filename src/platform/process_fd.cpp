#include "platform/process_fd.h"

#include <fcntl.h>

bool OpenPipe(PipeEnds& ends) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return false;
  ends.read.Reset(fds[0]);
  ends.write.Reset(fds[1]);
  return true;
}
