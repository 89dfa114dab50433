#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <utility>

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

// A pixmap in the server, freed with its owner.
class ServerPixmap {
 public:
  ServerPixmap(xcb_connection_t* connection, xcb_pixmap_t id) : connection_(connection), id_(id) {}
  ServerPixmap(ServerPixmap&& other) noexcept
      : connection_(other.connection_), id_(std::exchange(other.id_, XCB_NONE)) {}
  ServerPixmap& operator=(ServerPixmap&&) = delete;
  ServerPixmap(const ServerPixmap&) = delete;
  ServerPixmap& operator=(const ServerPixmap&) = delete;
  ~ServerPixmap() {
    if (id_ != XCB_NONE) xcb_free_pixmap(connection_, id_);
  }
  xcb_pixmap_t id() const { return id_; }

 private:
  xcb_connection_t* connection_;
  xcb_pixmap_t id_;
};
