#include "picture/PictureViewSmoothZoom.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "imaging/operations/mono_bits.h"

namespace vistrel {

namespace {

constexpr double kMaxReach = 32;

// The source pixels and their weights for one client pixel along an axis.
struct TTaps {
  int first = 0;
  std::vector<float> weights;  // sums to 1
};

// Taps for the `extent` client pixels shown along `axis`.
std::vector<TTaps> AxisTaps(const TViewAxis& axis, double zoom_percent, TResampleFilter filter,
                            int extent) {
  const int zoomed = ZoomedSize(axis.picture, zoom_percent);
  const double scale = double(zoomed) / axis.picture;  // below 1 here
  // At tiny zooms the kernel is cut at kMaxReach pixels each side, so a
  // repaint stays quick; the weights are normalised over what is left.
  const double support = std::min(FilterSupport(filter) / scale, kMaxReach);
  std::vector<TTaps> taps(static_cast<std::size_t>(extent));
  for (int d = 0; d < extent; ++d) {
    // Centre of this client pixel in picture coordinates.
    const double centre = (axis.origin + d + 0.5) / scale - 0.5;
    const int low = int(std::ceil(centre - support));
    const int high = int(std::floor(centre + support));
    TTaps& t = taps[std::size_t(d)];
    t.first = std::clamp(low, 0, axis.picture - 1);
    const int last = std::clamp(high, 0, axis.picture - 1);
    t.weights.assign(std::size_t(last - t.first + 1), 0.0f);
    double sum = 0;
    // Only pixels of the picture take part; the weights are normalised
    // over them, so an edge pixel counts no more than any other.
    for (int s = t.first; s <= last; ++s) {
      const double w = FilterWeight(filter, (s - centre) * scale);
      t.weights[std::size_t(s - t.first)] = float(w);
      sum += w;
    }
    if (sum == 0) {  // a kernel that misses every pixel: take the nearest
      t.weights.assign(1, 1.0f);
      t.first = std::clamp(int(std::lround(centre)), 0, axis.picture - 1);
      continue;
    }
    for (float& w : t.weights) w = float(w / sum);
  }
  return taps;
}

}  // namespace

void DrawFilteredPicture(const TPictureBitmap& picture, const TViewAxis& x, const TViewAxis& y,
                         double zoom_percent, TResampleFilter filter, QPoint offset,
                         QImage& target) {
  if (picture.Empty() || target.isNull() || target.format() != QImage::Format_RGB32) return;
  if (offset.x() < 0 || offset.y() < 0 || filter == TResampleFilter::rfNone) return;
  const int ex = std::min(VisibleExtent(x, zoom_percent), target.width() - offset.x());
  const int ey = std::min(VisibleExtent(y, zoom_percent), target.height() - offset.y());
  if (ex <= 0 || ey <= 0) return;
  const std::vector<TTaps> columns = AxisTaps(x, zoom_percent, filter, ex);
  const std::vector<TTaps> rows = AxisTaps(y, zoom_percent, filter, ey);

  // Horizontal pass over the picture rows the vertical taps reach, each row
  // once, into three float planes; then the vertical pass.
  int row_low = picture.Height(), row_high = -1;
  for (const TTaps& t : rows) {
    row_low = std::min(row_low, t.first);
    row_high = std::max(row_high, t.first + int(t.weights.size()) - 1);
  }
  const std::size_t width = std::size_t(ex);
  std::vector<float> across(std::size_t(row_high - row_low + 1) * width * 3);
  for (int r = row_low; r <= row_high; ++r) {
    const std::uint8_t* src = picture.Row(r);
    float* out = &across[std::size_t(r - row_low) * width * 3];
    for (std::size_t i = 0; i < width; ++i) {
      const TTaps& t = columns[i];
      float b = 0, g = 0, red = 0;
      for (std::size_t k = 0; k < t.weights.size(); ++k) {
        const int s = t.first + int(k);
        const float w = t.weights[k];
        if (picture.IsMono()) {
          const float v = MonoBit(src, s) ? 255.0f : 0.0f;
          b += w * v;
          g += w * v;
          red += w * v;
        } else {
          const std::uint8_t* p = src + std::size_t(s) * 3;
          b += w * p[0];
          g += w * p[1];
          red += w * p[2];
        }
      }
      out[i * 3] = b;
      out[i * 3 + 1] = g;
      out[i * 3 + 2] = red;
    }
  }
  const auto channel = [](float v) { return int(std::clamp(std::lround(v), 0L, 255L)); };
  for (int d = 0; d < ey; ++d) {
    const TTaps& t = rows[std::size_t(d)];
    QRgb* out = reinterpret_cast<QRgb*>(target.scanLine(offset.y() + d)) + offset.x();
    for (std::size_t i = 0; i < width; ++i) {
      float b = 0, g = 0, red = 0;
      for (std::size_t k = 0; k < t.weights.size(); ++k) {
        const float* p = &across[(std::size_t(t.first - row_low) + k) * width * 3 + i * 3];
        const float w = t.weights[k];
        b += w * p[0];
        g += w * p[1];
        red += w * p[2];
      }
      out[i] = qRgb(channel(red), channel(g), channel(b));
    }
  }
}

}  // namespace vistrel
