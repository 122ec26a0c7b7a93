// Effects that move pixels or light them by the relief of the picture.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "imaging/operations/effects.h"
#include "imaging/operations/parallel_rows.h"

namespace vistrel {

namespace {

bool Usable(const TPictureBitmap& picture) { return !picture.Empty() && !picture.IsMono(); }

// Fills each pixel from the source pixel `map` names (clamped to the picture).
template <typename Map>
void Remap(TPictureBitmap& picture, TProgress& progress, Map map) {
  const TPictureBitmap source = picture;
  const int w = picture.Width(), h = picture.Height();
  ParallelRows(h, std::int64_t(w) * h * 4, progress, [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
      std::uint8_t* d = picture.Row(y);
      for (int x = 0; x < w; ++x, d += 3) {
        int sx = x, sy = y;
        map(x, y, sx, sy);
        const std::uint8_t* s = source.Row(std::clamp(sy, 0, h - 1)) + std::size_t(std::clamp(sx, 0, w - 1)) * 3;
        d[0] = s[0], d[1] = s[1], d[2] = s[2];
      }
    }
  });
}

}  // namespace

void EffectBumpMap(TPictureBitmap& picture, int depth, int azimuth, TProgress& progress) {
  depth = std::clamp(depth, 0, 100);
  if (!Usable(picture) || depth == 0) return;
  const int w = picture.Width(), h = picture.Height();
  std::vector<int> grey(std::size_t(w) * std::size_t(h));
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* p = picture.Row(y);
    for (int x = 0; x < w; ++x, p += 3) grey[std::size_t(y) * std::size_t(w) + std::size_t(x)] = (p[2] * 21 + p[1] * 71 + p[0] * 8) / 100;
  }
  const double angle = azimuth * std::numbers::pi / 180;
  const double lx = std::cos(angle), ly = -std::sin(angle), scale = depth / 50.0;
  auto at = [&](int x, int y) { return grey[std::size_t(std::clamp(y, 0, h - 1)) * std::size_t(w) + std::size_t(std::clamp(x, 0, w - 1))]; };
  ParallelRows(h, std::int64_t(w) * h * 4, progress, [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
      std::uint8_t* p = picture.Row(y);
      for (int x = 0; x < w; ++x, p += 3) {
        const double gx = at(x + 1, y) - at(x - 1, y), gy = at(x, y + 1) - at(x, y - 1);
        const long shade = std::lround((gx * lx + gy * ly) * scale);
        for (int c = 0; c < 3; ++c) p[c] = std::uint8_t(std::clamp(p[c] + shade, 0L, 255L));
      }
    }
  });
}

void EffectLens(TPictureBitmap& picture, int strength, TProgress& progress) {
  strength = std::clamp(strength, -100, 100);
  if (!Usable(picture) || strength == 0) return;
  const double cx = (picture.Width() - 1) / 2.0, cy = (picture.Height() - 1) / 2.0;
  const double radius = std::min(picture.Width(), picture.Height()) / 2.0;
  // The source radius grows as a power of the distance: above 1 the middle
  // comes from nearer the centre (magnified).
  const double power = strength > 0 ? 1 + strength / 50.0 : 1 / (1 - strength / 50.0);
  Remap(picture, progress, [&](int x, int y, int& sx, int& sy) {
    const double dx = x - cx, dy = y - cy, r = std::hypot(dx, dy) / radius;
    if (r >= 1 || r == 0) return;
    const double f = std::pow(r, power) / r;
    sx = int(std::lround(cx + dx * f));
    sy = int(std::lround(cy + dy * f));
  });
}

void EffectWave(TPictureBitmap& picture, int amplitude, int wavelength, TProgress& progress) {
  amplitude = std::clamp(amplitude, 0, 50);
  wavelength = std::clamp(wavelength, 2, 200);
  if (!Usable(picture) || amplitude == 0) return;
  const double k = 2 * std::numbers::pi / wavelength;
  Remap(picture, progress, [&](int x, int y, int& sx, int& sy) {
    sx = x + int(std::lround(amplitude * std::sin(y * k)));
    sy = y + int(std::lround(amplitude * std::sin(x * k)));
  });
}

}  // namespace vistrel
