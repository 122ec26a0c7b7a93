#include "picture_area.h"

#include <algorithm>
#include <cstring>

#include "imaging/operations/mono_bits.h"

namespace vistrel {

namespace {

// Copies `count` pixels of row `src` starting at sx to row `dst` at dx.
void CopyPixels(const TPictureBitmap& from, int sy, int sx, TPictureBitmap& to, int dy, int dx, int count) {
  if (count <= 0) return;
  if (from.IsMono()) {
    const std::uint8_t* s = from.Row(sy);
    std::uint8_t* d = to.Row(dy);
    if ((sx & 7) == 0 && (dx & 7) == 0 && (count & 7) == 0) {
      std::memcpy(d + dx / 8, s + sx / 8, std::size_t(count) / 8);
    } else {
      for (int i = 0; i < count; ++i) SetMonoBit(d, dx + i, MonoBit(s, sx + i));
    }
    return;
  }
  std::memcpy(to.Row(dy) + std::size_t(dx) * 3, from.Row(sy) + std::size_t(sx) * 3, std::size_t(count) * 3);
}

}  // namespace

TPictureBitmap CopyArea(const TPictureBitmap& picture, const TPictureRect& box) {
  const TPictureRect r{std::max(box.left, 0), std::max(box.top, 0), std::min(box.right, picture.Width() - 1),
                       std::min(box.bottom, picture.Height() - 1)};
  TPictureBitmap area(r.Width(), r.Height(), picture.Format());
  area.SetDpi(picture.DpiX(), picture.DpiY());
  for (int y = 0; y < area.Height(); ++y) CopyPixels(picture, r.top + y, r.left, area, y, 0, area.Width());
  return area;
}

void PasteThroughMask(TPictureBitmap& picture, const TPictureBitmap& area, const TPictureMask& mask) {
  const TPictureRect& box = mask.BoundingBox();
  const int w = std::min(box.Width(), area.Width());
  const int h = std::min(box.Height(), area.Height());
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* m = mask.BoxRow(box.top + y);
    int x = 0;
    // Runs of selected pixels are copied in one go.
    while (x < w) {
      while (x < w && !m[x]) ++x;
      const int start = x;
      while (x < w && m[x]) ++x;
      CopyPixels(area, y, start, picture, box.top + y, box.left + start, x - start);
    }
  }
}

TPictureBitmap CopyMaskedArea(const TPictureBitmap& picture, const TPictureMask& mask, TColor background) {
  const TPictureRect& box = mask.BoundingBox();
  TPictureBitmap area(box.Width(), box.Height(), picture.Format());
  area.SetDpi(picture.DpiX(), picture.DpiY());
  area.Fill(background);
  for (int y = 0; y < area.Height(); ++y) {
    const std::uint8_t* m = mask.BoxRow(box.top + y);
    int x = 0;
    while (x < area.Width()) {
      while (x < area.Width() && !m[x]) ++x;
      const int start = x;
      while (x < area.Width() && m[x]) ++x;
      CopyPixels(picture, box.top + y, box.left + start, area, y, start, x - start);
    }
  }
  return area;
}

void Blit(const TPictureBitmap& src, TPictureBitmap& dst, int x, int y) {
  const int sx = std::max(0, -x);
  const int dx = std::max(0, x);
  const int count = std::min(src.Width() - sx, dst.Width() - dx);
  for (int row = std::max(0, -y); row < src.Height() && row + y < dst.Height(); ++row)
    CopyPixels(src, row, sx, dst, row + y, dx, count);
}

}  // namespace vistrel
