// Effects over neighbourhoods: morphology and unsharp masking.
#include <algorithm>
#include <cmath>
#include <vector>

#include "imaging/operations/effects.h"
#include "imaging/operations/parallel_rows.h"

namespace vistrel {

namespace {

bool Usable(const TPictureBitmap& picture) { return !picture.Empty() && !picture.IsMono(); }

// Per channel extreme over a (2r + 1) square, in two passes (rows, then
// columns); edges repeat.
void Extreme(TPictureBitmap& picture, int r, bool maximum, TProgress& progress) {
  const int w = picture.Width(), h = picture.Height();
  auto pick = [maximum](std::uint8_t a, std::uint8_t b) { return maximum ? std::max(a, b) : std::min(a, b); };
  TPictureBitmap rows = picture;
  TProgress first = progress.Part(0, 50), second = progress.Part(50, 100);
  ParallelRows(h, std::int64_t(w) * h * r, first, [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
      const std::uint8_t* s = picture.Row(y);
      std::uint8_t* d = rows.Row(y);
      for (int x = 0; x < w; ++x)
        for (int c = 0; c < 3; ++c) {
          std::uint8_t v = s[x * 3 + c];
          for (int i = std::max(0, x - r); i <= std::min(w - 1, x + r); ++i) v = pick(v, s[i * 3 + c]);
          d[x * 3 + c] = v;
        }
    }
  });
  ParallelRows(h, std::int64_t(w) * h * r, second, [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
      std::uint8_t* d = picture.Row(y);
      for (int i = 0; i < w * 3; ++i) {
        std::uint8_t v = rows.Row(y)[i];
        for (int j = std::max(0, y - r); j <= std::min(h - 1, y + r); ++j) v = pick(v, rows.Row(j)[i]);
        d[i] = v;
      }
    }
  });
}

}  // namespace

void EffectMorph(TPictureBitmap& picture, int mode, int radius, TProgress& progress) {
  radius = std::clamp(radius, 0, 10);
  if (!Usable(picture) || radius == 0) return;
  switch (std::clamp(mode, 0, 3)) {
    case 0: Extreme(picture, radius, true, progress); break;
    case 1: Extreme(picture, radius, false, progress); break;
    case 2: {
      TProgress first = progress.Part(0, 50), second = progress.Part(50, 100);
      Extreme(picture, radius, false, first);
      Extreme(picture, radius, true, second);
      break;
    }
    default: {
      TProgress first = progress.Part(0, 50), second = progress.Part(50, 100);
      Extreme(picture, radius, true, first);
      Extreme(picture, radius, false, second);
      break;
    }
  }
}

void EffectSharpen(TPictureBitmap& picture, int amplitude, int window, TProgress& progress) {
  amplitude = std::clamp(amplitude, 0, 100);
  if (!Usable(picture) || amplitude == 0) return;
  const int r = std::clamp(window, 3, 15) / 2;
  const int w = picture.Width(), h = picture.Height();
  // Box sums through a summed-area table per channel.
  const std::size_t sw = std::size_t(w) * 3 + 3;
  // Unsigned arithmetic: box differences stay exact modulo 2^32.
  std::vector<std::uint32_t> sum(sw * std::size_t(h + 1), 0);
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* p = picture.Row(y);
    std::uint32_t* above = &sum[std::size_t(y) * sw];
    std::uint32_t* row = &sum[std::size_t(y + 1) * sw];
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) {
        const std::size_t i = std::size_t(x + 1) * 3 + std::size_t(c);
        row[i] = p[x * 3 + c] + row[i - 3] + above[i] - above[i - 3];
      }
  }
  const double k = amplitude / 50.0;
  ParallelRows(h, std::int64_t(w) * h * 3, progress, [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
      std::uint8_t* p = picture.Row(y);
      const int top = std::max(0, y - r), bottom = std::min(h - 1, y + r);
      for (int x = 0; x < w; ++x) {
        const int left = std::max(0, x - r), right = std::min(w - 1, x + r);
        const double n = double(right - left + 1) * (bottom - top + 1);
        for (int c = 0; c < 3; ++c) {
          auto at = [&](int yy, int xx) { return sum[std::size_t(yy) * sw + std::size_t(xx) * 3 + std::size_t(c)]; };
          const double mean = double(std::uint32_t(at(bottom + 1, right + 1) - at(top, right + 1) - at(bottom + 1, left) + at(top, left))) / n;
          const double v = p[x * 3 + c];
          p[x * 3 + c] = std::uint8_t(std::clamp(std::lround(v + k * (v - mean)), 0L, 255L));
        }
      }
    }
  });
}

}  // namespace vistrel
