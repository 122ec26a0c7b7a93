#include "capture/cursor_drawing.h"

#include <algorithm>

namespace vistrel {

void DrawCursorImage(TPictureBitmap& picture, const TCursorImage& cursor, int left, int top) {
  if (picture.IsMono() || cursor.width <= 0 || cursor.height <= 0 ||
      cursor.argb.size() < std::size_t(cursor.width) * std::size_t(cursor.height))
    return;
  const int x0 = std::max(0, -left);
  const int y0 = std::max(0, -top);
  const int x1 = std::min(cursor.width, picture.Width() - left);
  const int y1 = std::min(cursor.height, picture.Height() - top);
  for (int y = y0; y < y1; ++y) {
    const std::uint32_t* src = cursor.argb.data() + std::size_t(y) * std::size_t(cursor.width);
    std::uint8_t* row = picture.Row(top + y);
    for (int x = x0; x < x1; ++x) {
      const std::uint32_t p = src[x];
      const std::uint32_t alpha = p >> 24;
      if (alpha == 0) continue;
      std::uint8_t* d = row + std::size_t(left + x) * 3;
      // Colours come premultiplied: out = colour + background * (1 - alpha).
      const std::uint32_t keep = 255 - alpha;
      const std::uint32_t colour[3] = {p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF};
      for (int i = 0; i < 3; ++i)
        d[i] = std::uint8_t(std::min<std::uint32_t>(255, colour[i] + (d[i] * keep + 127) / 255));
    }
  }
}

}  // namespace vistrel
