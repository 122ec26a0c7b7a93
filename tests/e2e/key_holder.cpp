// Another program that holds a key combination: grabs it on the root window
// of $DISPLAY, prints "held" (or "refused") and keeps it until stdin closes.
// Usage: key_holder KEYSYM MODMASK
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const xcb_keysym_t keysym = xcb_keysym_t(std::strtoul(argv[1], nullptr, 0));
  const uint16_t modifiers = uint16_t(std::strtoul(argv[2], nullptr, 0));
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) return 1;
  xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(c);
  xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
  if (!codes || !codes[0]) return 1;
  xcb_void_cookie_t cookie = xcb_grab_key_checked(c, 1, root, modifiers, codes[0],
                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
  xcb_generic_error_t* error = xcb_request_check(c, cookie);
  std::puts(error ? "refused" : "held");
  std::fflush(stdout);
  std::free(error);
  std::free(codes);
  while (std::getchar() != EOF) {
  }
  xcb_key_symbols_free(symbols);
  xcb_disconnect(c);
  return 0;
}
