#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

// xcb hands out malloc'ed replies and errors; these wrappers free them on every path.
struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};

template <typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

struct ConnectionDeleter {
  void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};

using XcbConnection = std::unique_ptr<xcb_connection_t, ConnectionDeleter>;
