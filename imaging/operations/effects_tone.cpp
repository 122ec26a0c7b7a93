// Effects that map each channel value or colour on its own.
#include <algorithm>
#include <array>
#include <cmath>

#include "imaging/operations/effects.h"
#include "imaging/operations/parallel_rows.h"

namespace vistrel {

namespace {

using TLut = std::array<std::uint8_t, 256>;

std::uint8_t Clamped(double v) { return std::uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

void ApplyLut(TPictureBitmap& picture, const TLut& lut, TProgress& progress) {
  const int w = picture.Width();
  ParallelRows(picture.Height(), std::int64_t(w) * picture.Height(), progress, [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
      std::uint8_t* p = picture.Row(y);
      for (int i = 0; i < w * 3; ++i) p[i] = lut[p[i]];
    }
  });
}

bool Usable(const TPictureBitmap& picture) { return !picture.Empty() && !picture.IsMono(); }

}  // namespace

void EffectContrast(TPictureBitmap& picture, int contrast, int brightness, TProgress& progress) {
  if (!Usable(picture)) return;
  contrast = std::clamp(contrast, -100, 100);
  brightness = std::clamp(brightness, -100, 100);
  const double factor = contrast >= 0 ? 1 + contrast / 25.0 : (100 + contrast) / 100.0;
  TLut lut;
  for (int v = 0; v < 256; ++v) lut[std::size_t(v)] = Clamped((v - 128) * factor + 128 + brightness * 2.55);
  ApplyLut(picture, lut, progress);
}

void EffectLevels(TPictureBitmap& picture, int low, int high, int out_low, int out_high, TProgress& progress) {
  if (!Usable(picture)) return;
  low = std::clamp(low, 0, 255);
  high = std::clamp(high, 0, 255);
  out_low = std::clamp(out_low, 0, 255);
  out_high = std::clamp(out_high, 0, 255);
  TLut lut;
  for (int v = 0; v < 256; ++v) {
    double out;
    if (high <= low)
      out = v < low ? out_low : out_high;
    else if (v <= low)
      out = out_low;
    else if (v >= high)
      out = out_high;
    else
      out = out_low + double(v - low) * (out_high - out_low) / (high - low);
    lut[std::size_t(v)] = Clamped(out);
  }
  ApplyLut(picture, lut, progress);
}

void EffectGamma(TPictureBitmap& picture, int gamma_percent, TProgress& progress) {
  if (!Usable(picture)) return;
  const double exponent = 100.0 / std::clamp(gamma_percent, 10, 500);
  TLut lut;
  for (int v = 0; v < 256; ++v) lut[std::size_t(v)] = Clamped(255 * std::pow(v / 255.0, exponent));
  ApplyLut(picture, lut, progress);
}

void EffectHsv(TPictureBitmap& picture, int hue, int saturation, int value, TProgress& progress) {
  if (!Usable(picture)) return;
  const double dh = std::clamp(hue, -180, 180), ds = std::clamp(saturation, -100, 100) / 100.0,
               dv = std::clamp(value, -100, 100) / 100.0;
  const int w = picture.Width();
  ParallelRows(picture.Height(), std::int64_t(w) * picture.Height() * 8, progress, [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
      std::uint8_t* p = picture.Row(y);
      for (int x = 0; x < w; ++x, p += 3) {
        const double r = p[2] / 255.0, g = p[1] / 255.0, b = p[0] / 255.0;
        const double mx = std::max({r, g, b}), mn = std::min({r, g, b}), d = mx - mn;
        double h = 0;
        if (d > 0) {
          if (mx == r)
            h = 60 * std::fmod((g - b) / d + 6, 6.0);
          else if (mx == g)
            h = 60 * ((b - r) / d + 2);
          else
            h = 60 * ((r - g) / d + 4);
        }
        double s = mx > 0 ? d / mx : 0;
        double v = mx;
        h = std::fmod(h + dh + 360, 360.0);
        s = std::clamp(s + ds, 0.0, 1.0);
        v = std::clamp(v + dv, 0.0, 1.0);
        const double c = v * s, hp = h / 60, xx = c * (1 - std::fabs(std::fmod(hp, 2.0) - 1)), m = v - c;
        double r1 = 0, g1 = 0, b1 = 0;
        switch (int(hp) % 6) {
          case 0: r1 = c, g1 = xx; break;
          case 1: r1 = xx, g1 = c; break;
          case 2: g1 = c, b1 = xx; break;
          case 3: g1 = xx, b1 = c; break;
          case 4: r1 = xx, b1 = c; break;
          default: r1 = c, b1 = xx; break;
        }
        p[2] = Clamped((r1 + m) * 255);
        p[1] = Clamped((g1 + m) * 255);
        p[0] = Clamped((b1 + m) * 255);
      }
    }
  });
}

}  // namespace vistrel
