#include "platform/wayland/wayland_screen_source.h"

#include <wayland-client-protocol.h>

#include <algorithm>
#include <optional>
#include <utility>

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

// Where the upright pixel (x, y) of an output lies in its frame, which is
// `width` x `height` and lies as the output's buffer does (wl_output
// transform: 1 to 3 turned by 90, 180 and 270 degrees, 4 to 7 mirrored
// first).
std::optional<std::pair<int, int>> FramePoint(int transform, int x, int y, int width, int height) {
  switch (transform) {
    case WL_OUTPUT_TRANSFORM_NORMAL:
      return std::pair{x, y};
    case WL_OUTPUT_TRANSFORM_90:
      return std::pair{y, height - 1 - x};
    case WL_OUTPUT_TRANSFORM_180:
      return std::pair{width - 1 - x, height - 1 - y};
    case WL_OUTPUT_TRANSFORM_270:
      return std::pair{width - 1 - y, x};
    case WL_OUTPUT_TRANSFORM_FLIPPED:
      return std::pair{width - 1 - x, y};
    case WL_OUTPUT_TRANSFORM_FLIPPED_90:
      return std::pair{y, x};
    case WL_OUTPUT_TRANSFORM_FLIPPED_180:
      return std::pair{x, height - 1 - y};
    case WL_OUTPUT_TRANSFORM_FLIPPED_270:
      return std::pair{width - 1 - y, height - 1 - x};
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
    monitor.rect = display_->DeviceRect(*output);
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
    const TScreenRect output_rect = display_->DeviceRect(*output);
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
  const bool sideways = transform % 2 == 1;
  if (!layout || !FramePoint(transform, 0, 0, frame.width, frame.height) ||
      (sideways ? frame.height : frame.width) != output_rect.Width() ||
      (sideways ? frame.width : frame.height) != output_rect.Height())
    return false;
  const int left = part.left - output_rect.left;
  const auto source_row = [&](int y) { return frame.bottom_up ? frame.height - 1 - y : y; };
  if (transform == WL_OUTPUT_TRANSFORM_NORMAL) {
    for (int row = 0; row < part.Height(); ++row)
      ConvertXImageRows(frame.pixels + std::size_t(source_row(part.top - output_rect.top + row)) *
                                           frame.stride + std::size_t(left) * 4,
                        frame.stride, part.Width(), 1, *layout, out, dst_x, dst_y + row);
    return true;
  }
  // A turned or mirrored output: pixel by pixel from where each lies.
  const bool red_first = layout->red_mask == 0x0000FF;
  for (int row = 0; row < part.Height(); ++row) {
    std::uint8_t* target = out.Row(dst_y + row) + std::size_t(dst_x) * 3;
    for (int column = 0; column < part.Width(); ++column, target += 3) {
      const auto [x, y] = *FramePoint(transform, left + column, part.top - output_rect.top + row,
                                      frame.width, frame.height);
      const std::uint8_t* p = frame.pixels + std::size_t(source_row(y)) * frame.stride + x * 4;
      target[0] = red_first ? p[2] : p[0];  // blue
      target[1] = p[1];
      target[2] = red_first ? p[0] : p[2];
    }
  }
  return true;
}

}  // namespace vistrel
