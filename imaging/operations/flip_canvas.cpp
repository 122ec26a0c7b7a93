#include "flip_canvas.h"

#include <algorithm>
#include <vector>

#include "imaging/operations/mono_bits.h"
#include "imaging/operations/parallel_rows.h"
#include "imaging/operations/picture_area.h"

namespace vistrel {

void FlipPicture(TPictureBitmap& picture, TFlipDirection direction, TProgress& progress) {
  if (picture.Empty()) return;
  const int w = picture.Width(), h = picture.Height();
  if (direction == TFlipDirection::Vertical) {
    for (int y = 0; y < h / 2; ++y) {
      std::swap_ranges(picture.Row(y), picture.Row(y) + picture.Stride(), picture.Row(h - 1 - y));
      progress.Report(y + 1, h / 2);
    }
    progress.Finish();
    return;
  }
  ParallelRows(h, std::int64_t(w) * h, progress, [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
      std::uint8_t* row = picture.Row(y);
      if (picture.IsMono()) {
        for (int x = 0; x < w / 2; ++x) {
          const bool a = MonoBit(row, x), b = MonoBit(row, w - 1 - x);
          SetMonoBit(row, x, b);
          SetMonoBit(row, w - 1 - x, a);
        }
        continue;
      }
      for (int l = 0, r = w - 1; l < r; ++l, --r) std::swap_ranges(row + l * 3, row + l * 3 + 3, row + r * 3);
    }
  });
}

namespace {

int AlignOffset(int outer, int inner, TCanvasAlign align) {
  switch (align) {
    case TCanvasAlign::Center:
      return (outer - inner) / 2;
    case TCanvasAlign::End:
      return outer - inner;
    case TCanvasAlign::Start:
      break;
  }
  return 0;
}

}  // namespace

TPictureBitmap ResizeCanvas(const TPictureBitmap& picture, int width, int height, TCanvasAlign horizontal,
                            TCanvasAlign vertical, TColor background) {
  TPictureBitmap canvas(width, height, picture.Format());
  canvas.SetDpi(picture.DpiX(), picture.DpiY());
  canvas.Fill(background);
  Blit(picture, canvas, AlignOffset(width, picture.Width(), horizontal),
       AlignOffset(height, picture.Height(), vertical));
  return canvas;
}

}  // namespace vistrel
