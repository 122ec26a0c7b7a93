#include "black_white.h"

#include "imaging/operations/color_ops.h"
#include "imaging/operations/mono_bits.h"
#include "imaging/operations/parallel_rows.h"

namespace vistrel {

int AutomaticThreshold(const TPictureBitmap& picture) {
  const TChannelMeans m = ChannelMeans(picture);
  return GreyOf(m.red, m.green, m.blue);
}

TPictureBitmap ThresholdToMono(const TPictureBitmap& picture, int threshold, TProgress& progress) {
  if (threshold == kAutomaticThreshold) threshold = AutomaticThreshold(picture);
  TPictureBitmap out(picture.Width(), picture.Height(), PixelFormat::Mono1);
  out.SetDpi(picture.DpiX(), picture.DpiY());
  const int w = picture.Width();
  ParallelRows(picture.Height(), std::int64_t(w) * picture.Height(), progress, [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
      const std::uint8_t* s = picture.Row(y);
      std::uint8_t* d = out.Row(y);
      for (int x = 0; x < w; ++x, s += 3)
        if (GreyOf(s[2], s[1], s[0]) >= threshold) SetMonoBit(d, x, true);
    }
  });
  return out;
}

TPictureBitmap MonoTo24Bit(const TPictureBitmap& picture, TProgress& progress) {
  TPictureBitmap out(picture.Width(), picture.Height());
  out.SetDpi(picture.DpiX(), picture.DpiY());
  const int w = picture.Width();
  ParallelRows(picture.Height(), std::int64_t(w) * picture.Height(), progress, [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
      const std::uint8_t* s = picture.Row(y);
      std::uint8_t* d = out.Row(y);
      for (int x = 0; x < w; ++x, d += 3) d[0] = d[1] = d[2] = MonoBit(s, x) ? 255 : 0;
    }
  });
  return out;
}

}  // namespace vistrel
