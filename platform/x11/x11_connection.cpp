#include "platform/x11/x11_connection.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace vistrel {

std::shared_ptr<X11Connection> X11Connection::Open(const char* display, std::string& error) {
  const char* name = display ? display : std::getenv("DISPLAY");
  if (!name || !*name) {
    error = "No X display: DISPLAY is not set";
    return nullptr;
  }
  int screen_number = 0;
  xcb_connection_t* conn = xcb_connect(name, &screen_number);
  if (xcb_connection_has_error(conn)) {
    xcb_disconnect(conn);
    error = std::string("Cannot open the X display \"") + name + "\"";
    return nullptr;
  }
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(conn));
  for (int i = 0; i < screen_number && it.rem; ++i) xcb_screen_next(&it);
  if (!it.rem) {
    xcb_disconnect(conn);
    error = std::string("The X display \"") + name + "\" has no such screen";
    return nullptr;
  }
  return std::shared_ptr<X11Connection>(new X11Connection(conn, it.data));
}

X11Connection::~X11Connection() { xcb_disconnect(conn_); }

std::uint32_t X11Connection::root() const { return screen_->root; }

TScreenRect X11Connection::RootRect() const {
  xcb_generic_error_t* error = nullptr;
  xcb_get_geometry_reply_t* geometry =
      xcb_get_geometry_reply(conn_, xcb_get_geometry(conn_, screen_->root), &error);
  std::free(error);
  TScreenRect rect{0, 0, screen_->width_in_pixels, screen_->height_in_pixels};
  if (geometry) rect = TScreenRect{0, 0, geometry->width, geometry->height};
  std::free(geometry);
  return rect;
}

bool X11Connection::Broken() const { return xcb_connection_has_error(conn_) != 0; }

std::uint32_t X11Connection::Atom(const char* name) {
  auto found = atoms_.find(name);
  if (found != atoms_.end()) return found->second;
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      conn_, xcb_intern_atom(conn_, 0, std::uint16_t(std::strlen(name)), name), nullptr);
  if (!reply) return 0;
  const std::uint32_t atom = reply->atom;
  std::free(reply);
  atoms_.emplace(name, atom);
  return atom;
}

}  // namespace vistrel

namespace vistrel {

void X11Connection::DiscardEvents() {
  while (xcb_generic_event_t* event = xcb_poll_for_event(conn_)) std::free(event);
}

}  // namespace vistrel
