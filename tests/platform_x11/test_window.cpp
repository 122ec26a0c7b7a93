#include "test_window.h"

#include <xcb/xcb.h>
#include <xcb/xcb_icccm.h>

#include <cstdlib>

namespace vistrel::testing {

TestWindow::TestWindow(const std::string& display, const TScreenRect& rect, std::uint32_t rgb) {
  conn_ = xcb_connect(display.c_str(), nullptr);
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data;
  id_ = xcb_generate_id(conn_);
  const std::uint32_t values[] = {rgb};
  xcb_create_window(conn_, XCB_COPY_FROM_PARENT, id_, screen->root, std::int16_t(rect.left),
                    std::int16_t(rect.top), std::uint16_t(rect.Width()),
                    std::uint16_t(rect.Height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                    screen->root_visual, XCB_CW_BACK_PIXEL, values);
  xcb_size_hints_t hints{};
  xcb_icccm_size_hints_set_position(&hints, 1, rect.left, rect.top);
  xcb_icccm_set_wm_normal_hints(conn_, id_, &hints);
  xcb_icccm_set_wm_name(conn_, id_, XCB_ATOM_STRING, 8, 11, "test window");
  xcb_map_window(conn_, id_);
  xcb_flush(conn_);
}

TestWindow::~TestWindow() { xcb_disconnect(conn_); }

std::uint32_t TestWindow::AddChild(const TScreenRect& rect, std::uint32_t rgb) {
  const std::uint32_t child = xcb_generate_id(conn_);
  const std::uint32_t values[] = {rgb};
  xcb_create_window(conn_, XCB_COPY_FROM_PARENT, child, id_, std::int16_t(rect.left),
                    std::int16_t(rect.top), std::uint16_t(rect.Width()),
                    std::uint16_t(rect.Height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                    XCB_COPY_FROM_PARENT, XCB_CW_BACK_PIXEL, values);
  xcb_map_window(conn_, child);
  xcb_flush(conn_);
  return child;
}

void TestWindow::SetProcessId(std::uint32_t pid) {
  xcb_intern_atom_reply_t* atom =
      xcb_intern_atom_reply(conn_, xcb_intern_atom(conn_, 0, 11, "_NET_WM_PID"), nullptr);
  if (!atom) return;
  xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, id_, atom->atom, XCB_ATOM_CARDINAL, 32, 1, &pid);
  free(atom);
  xcb_flush(conn_);
}

}  // namespace vistrel::testing
