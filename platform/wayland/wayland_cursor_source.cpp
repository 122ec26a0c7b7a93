#include "platform/wayland/wayland_cursor_source.h"

#include <algorithm>

#include "platform/wayland/wayland_display.h"
#include "platform/wayland/wayland_screen_source.h"

namespace vistrel {

namespace {

bool CopyWhole(WaylandDisplay& display, const TWaylandOutput& output, bool with_cursor,
               TPictureBitmap& out) {
  const TScreenRect rect = display.DeviceRect(output);
  out.Allocate(rect.Width(), rect.Height());
  const std::optional<TOutputFrame> frame = display.CopyOutput(output, with_cursor);
  return frame && CopyFramePart(*frame, output.transform, rect, rect, out, 0, 0);
}

}  // namespace

WaylandCursorSource::WaylandCursorSource(std::shared_ptr<WaylandDisplay> display)
    : display_(std::move(display)) {}

std::optional<TCursorImage> WaylandCursorSource::CurrentCursor() {
  TPictureBitmap without_cursor, with_cursor;
  for (const auto& output : display_->Outputs()) {
    if (!CopyWhole(*display_, *output, false, without_cursor) ||
        !CopyWhole(*display_, *output, true, with_cursor))
      continue;
    const TScreenRect rect = display_->DeviceRect(*output);
    if (auto cursor = CursorFromDifference(without_cursor, with_cursor, rect.left, rect.top))
      return cursor;
  }
  return std::nullopt;
}

std::optional<TCursorImage> CursorFromDifference(const TPictureBitmap& without_cursor,
                                                 const TPictureBitmap& with_cursor, int origin_x,
                                                 int origin_y) {
  const int width = std::min(without_cursor.Width(), with_cursor.Width());
  const int height = std::min(without_cursor.Height(), with_cursor.Height());
  const auto differs = [&](int x, int y) {
    return !std::equal(without_cursor.Row(y) + x * 3, without_cursor.Row(y) + x * 3 + 3,
                       with_cursor.Row(y) + x * 3);
  };
  TScreenRect box;
  for (int y = 0; y < height; ++y) {
    if (std::equal(without_cursor.Row(y), without_cursor.Row(y) + std::size_t(width) * 3,
                   with_cursor.Row(y)))
      continue;
    for (int x = 0; x < width; ++x)
      if (differs(x, y)) box = Union(box, TScreenRect{x, y, x + 1, y + 1});
  }
  if (box.IsEmpty()) return std::nullopt;
  TCursorImage cursor;
  cursor.x = origin_x + box.left;
  cursor.y = origin_y + box.top;
  cursor.width = box.Width();
  cursor.height = box.Height();
  cursor.argb.reserve(std::size_t(cursor.width) * std::size_t(cursor.height));
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x) {
      const std::uint8_t* p = with_cursor.Row(y) + x * 3;  // blue, green, red
      cursor.argb.push_back(differs(x, y) ? 0xFF000000u | std::uint32_t(p[2]) << 16 |
                                                std::uint32_t(p[1]) << 8 | p[0]
                                          : 0u);
    }
  return cursor;
}

}  // namespace vistrel
