#include "hsl_adjust.h"

#include <algorithm>
#include <cmath>

#include "imaging/operations/parallel_rows.h"

namespace vistrel {

namespace {

float HueToChannel(float p, float q, float t) {
  if (t < 0) t += 1;
  if (t > 1) t -= 1;
  if (t < 1.0f / 6) return p + (q - p) * 6 * t;
  if (t < 0.5f) return q;
  if (t < 2.0f / 3) return p + (q - p) * (2.0f / 3 - t) * 6;
  return p;
}

// v is 0..1 up to rounding noise; adding a half and truncating rounds.
std::uint8_t ToByte(float v) { return std::uint8_t(std::clamp(int(v * 255 + 0.5f), 0, 255)); }

}  // namespace

void AdjustHsl(TPictureBitmap& picture, double hue, double saturation, double luminosity, TProgress& progress) {
  if (picture.Empty() || picture.IsMono()) return;
  // Whole turns of hue change nothing.
  const float dh = float(std::fmod(hue / 360, 1.0));
  const float ds = float(saturation / 100);
  const float dl = float(luminosity / 100);
  const int w = picture.Width();
  ParallelRows(picture.Height(), std::int64_t(w) * picture.Height() * 8, progress, [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
      std::uint8_t* p = picture.Row(y);
      for (int x = 0; x < w; ++x, p += 3) {
        const float r = p[2] / 255.0f, g = p[1] / 255.0f, b = p[0] / 255.0f;
        const float mx = std::max({r, g, b}), mn = std::min({r, g, b});
        float l = (mx + mn) / 2;
        float h = 0, s = 0;
        const float d = mx - mn;
        if (d > 0) {
          s = l > 0.5f ? d / (2 - mx - mn) : d / (mx + mn);
          if (mx == r)
            h = (g - b) / d + (g < b ? 6 : 0);
          else if (mx == g)
            h = (b - r) / d + 2;
          else
            h = (r - g) / d + 4;
          h /= 6;
        }
        h += dh;
        if (h < 0) h += 1;
        if (h > 1) h -= 1;
        s = std::clamp(s + ds, 0.0f, 1.0f);
        l = std::clamp(l + dl, 0.0f, 1.0f);
        if (s == 0) {
          p[0] = p[1] = p[2] = ToByte(l);
          continue;
        }
        const float q = l < 0.5f ? l * (1 + s) : l + s - l * s;
        const float pp = 2 * l - q;
        p[2] = ToByte(HueToChannel(pp, q, h + 1.0f / 3));
        p[1] = ToByte(HueToChannel(pp, q, h));
        p[0] = ToByte(HueToChannel(pp, q, h - 1.0f / 3));
      }
    }
  });
}

}  // namespace vistrel
