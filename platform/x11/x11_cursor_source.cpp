#include "platform/x11/x11_cursor_source.h"

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstdlib>

#include "platform/x11/x11_connection.h"
#include "platform/x11/xcb_reply.h"

namespace vistrel {

X11CursorSource::X11CursorSource(std::shared_ptr<X11Connection> conn) : conn_(std::move(conn)) {
  xcb_connection_t* c = conn_->get();
  const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_xfixes_id);
  if (!ext || !ext->present) return;
  // XFixes answers nothing before a client has said which version it speaks.
  XcbReply<xcb_xfixes_query_version_reply_t> version(
      xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 4, 0), nullptr));
  xfixes_ = version && version->major_version >= 1;
}

std::optional<TCursorImage> X11CursorSource::CurrentCursor() {
  if (!xfixes_) return std::nullopt;
  xcb_connection_t* c = conn_->get();
  xcb_generic_error_t* error = nullptr;
  XcbReply<xcb_xfixes_get_cursor_image_reply_t> reply(
      xcb_xfixes_get_cursor_image_reply(c, xcb_xfixes_get_cursor_image(c), &error));
  std::free(error);
  if (!reply) return std::nullopt;
  TCursorImage cursor;
  cursor.x = reply->x;
  cursor.y = reply->y;
  cursor.hotspot_x = reply->xhot;
  cursor.hotspot_y = reply->yhot;
  cursor.width = reply->width;
  cursor.height = reply->height;
  const std::uint32_t* pixels = xcb_xfixes_get_cursor_image_cursor_image(reply.get());
  const int count = xcb_xfixes_get_cursor_image_cursor_image_length(reply.get());
  if (count != cursor.width * cursor.height) return std::nullopt;
  cursor.argb.assign(pixels, pixels + count);
  return cursor;
}

}  // namespace vistrel
