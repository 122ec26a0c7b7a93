#include "platform/wayland/wayland_screen_source.h"

#include <wayland-client-protocol.h>

#include <algorithm>

#include "platform/wayland/wayland_display.h"
#include "platform/x11/ximage_convert.h"

namespace vistrel {

namespace {

// wl_shm formats not named by an enumerator of wl_shm's header.
constexpr std::uint32_t kAbgr8888 = 0x34324241;
constexpr std::uint32_t kXbgr8888 = 0x34324258;

std::optional<TXPixelLayout> LayoutOf(std::uint32_t format) {
  TXPixelLayout layout;  // 32 bits, little-endian, red in bits 16 to 23
  switch (format) {
    case WL_SHM_FORMAT_ARGB8888:
    case WL_SHM_FORMAT_XRGB8888:
      return layout;
    case kAbgr8888:
    case kXbgr8888:
      layout.red_mask = 0x0000FF;
      layout.blue_mask = 0xFF0000;
      return layout;
    default:
      return std::nullopt;
  }
}

}  // namespace

WaylandScreenSource::WaylandScreenSource(std::shared_ptr<WaylandDisplay> display)
    : display_(std::move(display)) {}

std::vector<TMonitor> WaylandScreenSource::Monitors() {
  std::vector<TMonitor> monitors;
  for (const auto& output : display_->Outputs()) {
    TMonitor monitor;
    monitor.rect = WaylandDisplay::DeviceRect(*output);
    if (monitor.rect.IsEmpty()) continue;  // not described yet
    monitor.name = output->name;
    monitors.push_back(std::move(monitor));
  }
  // Wayland knows no primary output: the first one announced stands in.
  if (!monitors.empty()) monitors.front().primary = true;
  return monitors;
}

bool WaylandScreenSource::GrabRect(const TScreenRect& rect, TPictureBitmap& out) {
  out.Allocate(std::max(rect.Width(), 0), std::max(rect.Height(), 0));
  if (out.Empty()) return true;
  bool read_all = true;
  for (const auto& output : display_->Outputs()) {
    const TScreenRect output_rect = WaylandDisplay::DeviceRect(*output);
    const TScreenRect part = Intersection(rect, output_rect);
    if (part.IsEmpty()) continue;
    const std::optional<TOutputFrame> frame = display_->CopyOutput(*output, false);
    read_all = frame && CopyFramePart(*frame, output->transform, output_rect, part, out,
                                      part.left - rect.left, part.top - rect.top) &&
               read_all;
  }
  return read_all;
}

bool CopyFramePart(const TOutputFrame& frame, int transform, const TScreenRect& output_rect,
                   const TScreenRect& part, TPictureBitmap& out, int dst_x, int dst_y) {
  const std::optional<TXPixelLayout> layout = LayoutOf(frame.format);
  // Turned or mirrored outputs hand over their buffers unturned; their
  // pixels would land in the wrong places.
  if (!layout || transform != WL_OUTPUT_TRANSFORM_NORMAL ||
      frame.width != output_rect.Width() || frame.height != output_rect.Height())
    return false;
  const int x = part.left - output_rect.left;
  for (int row = 0; row < part.Height(); ++row) {
    const int y = part.top - output_rect.top + row;
    const int source_row = frame.bottom_up ? frame.height - 1 - y : y;
    ConvertXImageRows(frame.pixels + std::size_t(source_row) * frame.stride + std::size_t(x) * 4,
                      frame.stride, part.Width(), 1, *layout, out, dst_x, dst_y + row);
  }
  return true;
}

}  // namespace vistrel
