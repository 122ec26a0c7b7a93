#include "platform/x11/x11_screen_refresh.h"

#include <xcb/xcb.h>

#include <cstdlib>

#include "platform/x11/x11_connection.h"
#include "platform/x11/xcb_reply.h"

namespace vistrel {

X11ScreenRefresh::X11ScreenRefresh(std::shared_ptr<X11Connection> conn) : conn_(std::move(conn)) {}

void X11ScreenRefresh::RefreshScreen() {
  xcb_connection_t* c = conn_->get();
  const TScreenRect root = conn_->RootRect();
  if (root.Width() <= 0 || root.Height() <= 0) return;
  const xcb_window_t cover = xcb_generate_id(c);
  // Override-redirect: the window manager neither frames nor places it.
  // No background: mapping it leaves the screen's pixels as they are, so the
  // user sees no flash, only the repaints after the unmap.
  const std::uint32_t mask = XCB_CW_BACK_PIXMAP | XCB_CW_OVERRIDE_REDIRECT;
  const std::uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 1};
  xcb_create_window(c, XCB_COPY_FROM_PARENT, cover, conn_->root(), std::int16_t(root.left),
                    std::int16_t(root.top), std::uint16_t(root.Width()),
                    std::uint16_t(root.Height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                    XCB_COPY_FROM_PARENT, mask, values);
  xcb_map_window(c, cover);
  xcb_unmap_window(c, cover);
  xcb_destroy_window(c, cover);
  // A round trip: the server has carried all of it out when we return.
  xcb_generic_error_t* error = nullptr;
  XcbReply<xcb_get_input_focus_reply_t> sync(
      xcb_get_input_focus_reply(c, xcb_get_input_focus(c), &error));
  std::free(error);
  conn_->DiscardEvents();
}

}  // namespace vistrel
