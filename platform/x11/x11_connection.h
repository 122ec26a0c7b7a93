// One connection to the X server with the root window of its default screen
// and interned atoms. Shared by the screen, cursor and window sources.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/screen_rect.h"

struct xcb_connection_t;
struct xcb_screen_t;

namespace vistrel {

class X11Connection {
 public:
  // Nothing, with `error` set, when the display cannot be opened. A null
  // display name means $DISPLAY.
  static std::shared_ptr<X11Connection> Open(const char* display, std::string& error);
  ~X11Connection();
  X11Connection(const X11Connection&) = delete;
  X11Connection& operator=(const X11Connection&) = delete;

  xcb_connection_t* get() const { return conn_; }
  xcb_screen_t* screen() const { return screen_; }
  std::uint32_t root() const;
  // The root window's current size; it changes when monitors come and go,
  // so it is asked for each time rather than taken from the setup.
  TScreenRect RootRect() const;
  // Interns the atom once; 0 when the server does not answer.
  std::uint32_t Atom(const char* name);
  bool Broken() const;
  // Drops queued events; the sources select none, so these are only error
  // replies of requests whose outcome did not matter.
  void DiscardEvents();

 private:
  X11Connection(xcb_connection_t* conn, xcb_screen_t* screen) : conn_(conn), screen_(screen) {}
  xcb_connection_t* conn_;
  xcb_screen_t* screen_;
  std::unordered_map<std::string, std::uint32_t> atoms_;
};

}  // namespace vistrel
