#include "platform/x11/x11_screen_source.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/randr.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

#include "platform/x11/x11_connection.h"
#include "platform/x11/xcb_reply.h"

namespace vistrel {
namespace {

xcb_visualtype_t* FindVisual(xcb_screen_t* screen, xcb_visualid_t id) {
  for (auto d = xcb_screen_allowed_depths_iterator(screen); d.rem; xcb_depth_next(&d))
    for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v))
      if (v.data->visual_id == id) return v.data;
  return nullptr;
}

}  // namespace

X11ScreenSource::X11ScreenSource(std::shared_ptr<X11Connection> conn, bool shared_memory)
    : conn_(std::move(conn)) {
  xcb_connection_t* c = conn_->get();
  const xcb_setup_t* setup = xcb_get_setup(c);
  xcb_screen_t* screen = conn_->screen();
  for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f)) {
    if (f.data->depth == screen->root_depth) {
      layout_.bits_per_pixel = f.data->bits_per_pixel;
      scanline_pad_ = f.data->scanline_pad;
    }
  }
  layout_.msb_first = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
  if (xcb_visualtype_t* visual = FindVisual(screen, screen->root_visual)) {
    layout_.red_mask = visual->red_mask;
    layout_.green_mask = visual->green_mask;
    layout_.blue_mask = visual->blue_mask;
    layout_ok_ = (visual->_class == XCB_VISUAL_CLASS_TRUE_COLOR ||
                  visual->_class == XCB_VISUAL_CLASS_DIRECT_COLOR) &&
                 SupportedXPixelLayout(layout_) && scanline_pad_ % 8 == 0 && scanline_pad_ > 0;
  }
  const xcb_query_extension_reply_t* shm = xcb_get_extension_data(c, &xcb_shm_id);
  if (shared_memory && shm && shm->present) {
    XcbReply<xcb_shm_query_version_reply_t> version(
        xcb_shm_query_version_reply(c, xcb_shm_query_version(c), nullptr));
    shm_usable_ = version != nullptr;
  }
}

X11ScreenSource::~X11ScreenSource() { ReleaseSegment(); }

std::vector<TMonitor> X11ScreenSource::Monitors() {
  xcb_connection_t* c = conn_->get();
  std::vector<TMonitor> monitors;
  const xcb_query_extension_reply_t* randr = xcb_get_extension_data(c, &xcb_randr_id);
  if (randr && randr->present) {
    XcbReply<xcb_randr_query_version_reply_t> version(
        xcb_randr_query_version_reply(c, xcb_randr_query_version(c, 1, 5), nullptr));
    // Monitors came with RandR 1.5.
    if (version && (version->major_version > 1 || version->minor_version >= 5)) {
      XcbReply<xcb_randr_get_monitors_reply_t> reply(xcb_randr_get_monitors_reply(
          c, xcb_randr_get_monitors(c, conn_->root(), 1), nullptr));
      if (reply) {
        for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem;
             xcb_randr_monitor_info_next(&it)) {
          const xcb_randr_monitor_info_t* m = it.data;
          if (m->width == 0 || m->height == 0) continue;
          TMonitor monitor;
          monitor.rect = TScreenRect{m->x, m->y, m->x + m->width, m->y + m->height};
          monitor.primary = m->primary != 0;
          XcbReply<xcb_get_atom_name_reply_t> name(
              xcb_get_atom_name_reply(c, xcb_get_atom_name(c, m->name), nullptr));
          if (name)
            monitor.name.assign(xcb_get_atom_name_name(name.get()),
                                std::size_t(xcb_get_atom_name_name_length(name.get())));
          monitors.push_back(std::move(monitor));
        }
      }
    }
  }
  if (monitors.empty()) {
    // No RandR monitors: the root window is the one monitor.
    TMonitor whole;
    whole.rect = conn_->RootRect();
    whole.primary = true;
    whole.name = "screen";
    monitors.push_back(whole);
  }
  std::stable_partition(monitors.begin(), monitors.end(),
                        [](const TMonitor& m) { return m.primary; });
  // Without a primary set, the first monitor is taken as primary (as Qt does).
  monitors.front().primary = true;
  return monitors;
}

bool X11ScreenSource::GrabRect(const TScreenRect& rect, TPictureBitmap& out) {
  out.Allocate(std::max(rect.Width(), 0), std::max(rect.Height(), 0));
  const TScreenRect part = Intersection(rect, conn_->RootRect());
  if (part.IsEmpty() || out.Empty()) return true;
  if (!layout_ok_ || conn_->Broken()) return false;
  conn_->DiscardEvents();
  const int dst_x = part.left - rect.left;
  const int dst_y = part.top - rect.top;
  if (shm_usable_ && GrabShm(part, out, dst_x, dst_y)) return true;
  return GrabPlain(part, out, dst_x, dst_y);
}

bool X11ScreenSource::EnsureSegment(std::size_t bytes) {
  if (shm_addr_ && shm_size_ >= bytes) return true;
  ReleaseSegment();
  xcb_connection_t* c = conn_->get();
  const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (id < 0) return false;
  void* addr = shmat(id, nullptr, 0);
  if (addr == reinterpret_cast<void*>(-1)) {
    shmctl(id, IPC_RMID, nullptr);
    return false;
  }
  const std::uint32_t seg = xcb_generate_id(c);
  xcb_generic_error_t* error =
      xcb_request_check(c, xcb_shm_attach_checked(c, seg, std::uint32_t(id), 0));
  // Once the server holds it, the segment goes away with the last detach.
  shmctl(id, IPC_RMID, nullptr);
  if (error) {
    // A server on another machine refuses the segment: use GetImage from now on.
    std::free(error);
    shmdt(addr);
    shm_usable_ = false;
    return false;
  }
  shm_seg_ = seg;
  shm_addr_ = static_cast<std::uint8_t*>(addr);
  shm_size_ = bytes;
  return true;
}

void X11ScreenSource::ReleaseSegment() {
  if (!shm_addr_) return;
  xcb_shm_detach(conn_->get(), shm_seg_);
  xcb_flush(conn_->get());
  shmdt(shm_addr_);
  shm_addr_ = nullptr;
  shm_size_ = 0;
}

bool X11ScreenSource::GrabShm(const TScreenRect& part, TPictureBitmap& out, int dst_x,
                              int dst_y) {
  const int w = part.Width();
  const int h = part.Height();
  const std::size_t stride =
      (std::size_t(w) * layout_.bits_per_pixel + scanline_pad_ - 1) / scanline_pad_ *
      (scanline_pad_ / 8);
  if (!EnsureSegment(stride * std::size_t(h))) return false;
  xcb_connection_t* c = conn_->get();
  xcb_generic_error_t* error = nullptr;
  XcbReply<xcb_shm_get_image_reply_t> reply(xcb_shm_get_image_reply(
      c,
      xcb_shm_get_image(c, conn_->root(), std::int16_t(part.left), std::int16_t(part.top),
                        std::uint16_t(w), std::uint16_t(h), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP,
                        shm_seg_, 0),
      &error));
  if (!reply) {
    // The screen may have shrunk since its size was read; the segment stays.
    std::free(error);
    return false;
  }
  ConvertXImageRows(shm_addr_, stride, w, h, layout_, out, dst_x, dst_y);
  return true;
}

bool X11ScreenSource::GrabPlain(const TScreenRect& part, TPictureBitmap& out, int dst_x,
                                int dst_y) {
  xcb_connection_t* c = conn_->get();
  const int w = part.Width();
  xcb_generic_error_t* error = nullptr;
  // Strips keep each reply well below the server's and xcb's size limits.
  const int rows_per_strip = std::max(1, int((std::size_t(16) << 20) / (std::size_t(w) * 4)));
  for (int y = part.top; y < part.bottom; y += rows_per_strip) {
    const int h = std::min(rows_per_strip, part.bottom - y);
    XcbReply<xcb_get_image_reply_t> reply(xcb_get_image_reply(
        c,
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, conn_->root(), std::int16_t(part.left),
                      std::int16_t(y), std::uint16_t(w), std::uint16_t(h), ~0u),
        &error));
    std::free(error);
    if (!reply) return false;
    const std::size_t bytes = std::size_t(xcb_get_image_data_length(reply.get()));
    const std::size_t stride = bytes / std::size_t(h);
    if (stride * 8 < std::size_t(w) * layout_.bits_per_pixel) return false;
    ConvertXImageRows(xcb_get_image_data(reply.get()), stride, w, h, layout_, out, dst_x,
                      dst_y + (y - part.top));
  }
  return true;
}

}  // namespace vistrel
